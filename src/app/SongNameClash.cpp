#include "app/SongNameClash.h"

#include <algorithm>
#include <map>

#include "app/Utf8Path.h"
#include "transfer/SongName.h"

std::vector<tNameClash> FindNameClashes(const std::vector<std::filesystem::path>& Songs) {
    std::vector<tNameClash> Clashes;
    std::map<std::string, size_t> ClashOfName;
    for (const std::filesystem::path& Song : Songs) {
        const std::string Name = SongNameFromPath(PathToUtf8(Song));
        if (Name.empty()) {
            continue;  // no name at all: vetting refuses the song, whatever else is sent
        }
        const auto [Found, bNew] = ClashOfName.try_emplace(Name, Clashes.size());
        if (bNew) {
            Clashes.push_back({Name, {}});
        }
        std::vector<std::filesystem::path>& Files = Clashes[Found->second].Songs;
        if (std::find(Files.begin(), Files.end(), Song.lexically_normal()) == Files.end()) {
            Files.push_back(Song.lexically_normal());
        }
    }
    std::erase_if(Clashes, [](const tNameClash& Clash) { return Clash.Songs.size() < 2; });
    return Clashes;
}

std::string DescribeNameClashes(const std::vector<tNameClash>& Clashes) {
    std::string Text;
    for (const tNameClash& Clash : Clashes) {
        for (size_t i = 0; i < Clash.Songs.size(); ++i) {
            Text += (i == 0                        ? ""
                     : i + 1 == Clash.Songs.size() ? " and "
                                                   : ", ") +
                    PathToUtf8(Clash.Songs[i]);
        }
        Text += " get the same name on the device, \"" + Clash.DeviceName + "\"\n";
    }
    return Text;
}
