#include "options/CommandHelp.h"

#include <algorithm>

namespace {

// "-o, --output OUT.syx" or "    --debug": aliases in a column of their own.
std::string OptionNames(const tOptionDefinition& Option) {
    std::string Names = Option.Alias != nullptr ? std::string(Option.Alias) + ", " : "";
    Names += Option.szName;
    if (Option.ValueName != nullptr) {
        Names += std::string(" ") + Option.ValueName;
    }
    return Names;
}

}  // namespace

void PrintHelpPage(std::ostream& Out, const tHelpPage& Page) {
    Out << "Usage: " << Page.Usage << "\n" << Page.Description;
    size_t uiColumn = 0;
    for (const tOptionDefinition& Option : Page.Options) {
        uiColumn = std::max(uiColumn, OptionNames(Option).size());
    }
    if (!Page.Options.empty()) {
        Out << "\n";
    }
    const std::string Indent(uiColumn + 4, ' ');
    for (const tOptionDefinition& Option : Page.Options) {
        const std::string Names = OptionNames(Option);
        Out << "  " << Names << std::string(uiColumn - Names.size() + 2, ' ');
        for (const char c : Option.Help) {
            Out << c;
            if (c == '\n') {
                Out << Indent;
            }
        }
        Out << "\n";
    }
    if (!Page.Notes.empty()) {
        Out << "\n" << Page.Notes;
    }
}
