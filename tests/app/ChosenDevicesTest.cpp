#include <gtest/gtest.h>

#include "app/ChosenDevices.h"

namespace {

const tDeviceLists kPresent = {{"Other In", "TAV In 24:0"}, {"Synth", "TAV Out 24:0"}};
const tDeviceLists kAbsent = {{"Other In"}, {"Synth"}};
const tDeviceLists kBack = {{"TAV In 28:0", "Other In"}, {"TAV Out 28:0", "Synth"}};
const tDeviceLists kNoOutput = {{"TAV In 24:0"}, {}};

enum tStepKind {
    START,   // a start with the file as the last step left it
    LISTS,   // the device dialog opens on lists read afresh
    DIALOG,  // the dialog ends
};

struct tStep {
    tStepKind eKind;
    const tDeviceLists* pDevices;
    bool bOk;  // DIALOG: ended with OK, with Picked
    tDevicePair Picked;
    tDevicePair Expected;
    const char* szInName;
    const char* szOutName;
};

struct tScenario {
    const char* szWhat;
    std::vector<tStep> Steps;
};

}  // namespace

// The file first holds the TAV ports 1 and 1 by index and name; each step is taken by the
// window, and what it then saves is what the next start reads.
TEST(ChosenDevices, a_missing_device_keeps_its_name_and_is_chosen_again_once_it_is_back) {
    const char* szIn = "TAV In 24:0";
    const char* szOut = "TAV Out 24:0";
    const tScenario aScenarios[] = {
        {"present at start", {{START, &kPresent, false, {}, {1, 1}, szIn, szOut}}},
        {"absent at start, the dialog closed, then back",
         {{START, &kAbsent, false, {}, {-1, -1}, szIn, szOut},
          {LISTS, &kAbsent, false, {}, {-1, -1}, szIn, szOut},
          {DIALOG, &kAbsent, false, {0, 0}, {-1, -1}, szIn, szOut},
          {LISTS, &kBack, false, {}, {0, 0}, "TAV In 28:0", "TAV Out 28:0"}}},
        {"absent, OK with nothing chosen, back at the next start",
         {{START, &kAbsent, false, {}, {-1, -1}, szIn, szOut},
          {DIALOG, &kAbsent, true, {-1, -1}, {-1, -1}, szIn, szOut},
          {START, &kBack, false, {}, {0, 0}, "TAV In 28:0", "TAV Out 28:0"}}},
        {"absent, OK with an input picked: only the output waits",
         {{START, &kAbsent, false, {}, {-1, -1}, szIn, szOut},
          {DIALOG, &kAbsent, true, {0, -1}, {0, -1}, "Other In", szOut},
          {START, &kBack, false, {}, {1, 0}, "Other In", "TAV Out 28:0"}}},
        {"present, then gone when the dialog opens",
         {{START, &kPresent, false, {}, {1, 1}, szIn, szOut},
          {LISTS, &kAbsent, false, {}, {-1, -1}, szIn, szOut},
          {DIALOG, &kAbsent, true, {-1, -1}, {-1, -1}, szIn, szOut}}},
        {"one kind missing at start: neither is chosen, both are kept",
         {{START, &kNoOutput, false, {}, {-1, -1}, szIn, szOut}}},
    };
    for (const tScenario& Scenario : aScenarios) {
        tSavedSettings File{1, 1, szIn, szOut};
        tChosenDevices Chosen;
        for (size_t i = 0; i < Scenario.Steps.size(); ++i) {
            SCOPED_TRACE(std::string(Scenario.szWhat) + ", step " + std::to_string(i + 1));
            const tStep& Step = Scenario.Steps[i];
            Chosen = Step.eKind == START ? ChosenDevicesAtStart(File, *Step.pDevices)
                     : Step.eKind == LISTS
                         ? ChosenDevicesIn(Chosen, *Step.pDevices)
                         : ChosenDevicesAfterDialog(Chosen, Step.bOk, Step.Picked, *Step.pDevices);
            File = WithChosenDevices(File, Chosen);
            EXPECT_EQ(File.iInPort, Step.Expected.iInPort);
            EXPECT_EQ(File.iOutPort, Step.Expected.iOutPort);
            EXPECT_EQ(File.InName, Step.szInName);
            EXPECT_EQ(File.OutName, Step.szOutName);
        }
    }
}

TEST(ChosenDevices, a_saved_software_synthesizer_is_dropped_with_its_name_even_when_missing) {
    const char* szSynth = "Microsoft GS Wavetable SW Synth";
    const tSavedSettings Saved{0, 0, "In", szSynth};
    const tDeviceLists WithSynth = {{"In"}, {szSynth}};
    for (const tDeviceLists* pDevices : {&WithSynth, &kAbsent}) {
        const tChosenDevices Chosen = ChosenDevicesAtStart(Saved, *pDevices);
        EXPECT_EQ(Chosen.Pair.iOutPort, -1);
        EXPECT_EQ(Chosen.InName, "");
        EXPECT_EQ(Chosen.OutName, "");
    }
}
