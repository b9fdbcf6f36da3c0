#include <gtest/gtest.h>

#include <string>

#include "midi/DeviceName.h"
#include "midi/Utf16Text.h"

namespace {

std::u16string Units(const char16_t (&szPname)[MAXPNAMELEN]) {
    return std::u16string(szPname);
}

}  // namespace

TEST(MidiDeviceName, utf8_names_become_utf16_cut_to_31_units_and_zero_terminated) {
    const std::pair<std::string, std::u16string> aCases[] = {
        {"TAV Orvik", u"TAV Orvik"},
        {"", u""},
        {"Gr\xC3\xBC\xC3\x9F"
         "e",
         u"Gr\u00FC\u00DFe"},
        {"\xE2\x82\xAC 5", u"\u20AC 5"},
        {"\xF0\x9F\x8E\xB9 keys", u"\U0001F3B9 keys"},
        {std::string(40, 'a'), std::u16string(31, u'a')},
        // A character outside the basic plane is never cut in half.
        {std::string(30, 'a') + "\xF0\x9F\x8E\xB9", std::u16string(30, u'a')},
        // Bytes that are not UTF-8 become U+FFFD, one each.
        {"a\xFF"
         "b",
         u"a\uFFFDb"},
        {"\xC3", u"\uFFFD"},
        {"\xE2\x82", u"\uFFFD\uFFFD"},
        {"\xE2\x82"
         "ab",
         u"\uFFFD\uFFFDab"},
        // Well-formed but forbidden: an overlong form, a surrogate.
        {"\xC0\xAF", u"\uFFFD"},
        {"\xED\xA0\x80", u"\uFFFD"},
    };
    for (const auto& [Utf8, Expected] : aCases) {
        char16_t szPname[MAXPNAMELEN];
        std::fill(std::begin(szPname), std::end(szPname), u'?');
        CopyDeviceName(Utf8, szPname);
        EXPECT_EQ(Units(szPname), Expected) << Utf8;
        EXPECT_EQ(szPname[MAXPNAMELEN - 1], 0) << Utf8;
    }
}

TEST(MidiDeviceName, a_record_reads_back_as_utf8_without_passing_its_end) {
    const std::string aNames[] = {"TAV Melko",
                                  "Gr\xC3\xBC\xC3\x9F"
                                  "e",
                                  "\xF0\x9F\x8E\xB9 keys", std::string(31, 'z')};
    for (const std::string& Name : aNames) {
        char16_t szPname[MAXPNAMELEN];
        CopyDeviceName(Name, szPname);
        EXPECT_EQ(DeviceNameToUtf8(szPname), Name);
    }
    char16_t szUnterminated[MAXPNAMELEN];
    std::fill(std::begin(szUnterminated), std::end(szUnterminated), u'b');
    EXPECT_EQ(DeviceNameToUtf8(szUnterminated), std::string(MAXPNAMELEN, 'b'));
    char16_t szLoneSurrogate[MAXPNAMELEN] = {u'a', 0xD800, u'b'};
    EXPECT_EQ(DeviceNameToUtf8(szLoneSurrogate),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(MidiDeviceName, any_utf16_text_reads_as_utf8_whole_with_lone_surrogates_replaced) {
    const std::pair<std::u16string, std::string> aCases[] = {
        {std::u16string(300, u'x'), std::string(300, 'x')},
        {u"\U0001F3B9 Caf\u00E9", "\xF0\x9F\x8E\xB9 Caf\xC3\xA9"},
        {std::u16string{0xDC00, u'a'},
         "\xEF\xBF\xBD"
         "a"},
        {std::u16string{u'a', 0xD83C}, "a\xEF\xBF\xBD"},
    };
    for (const auto& [Text, Expected] : aCases) {
        EXPECT_EQ(Utf16ToUtf8(Text), Expected);
    }
}
