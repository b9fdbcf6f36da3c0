// Runs the window tests: all of them, or the one test class named as the first argument (the
// remaining arguments go to QtTest).
#include <QApplication>
#include <QTest>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "UiTestRegistry.h"

int main(int argc, char** argv) {
    QApplication Application(argc, argv);
    const char* szOnly = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
    std::vector<char*> Args{argv[0]};
    for (int i = szOnly != nullptr ? 2 : 1; i < argc; ++i) {
        Args.push_back(argv[i]);
    }
    int iFailures = 0;
    bool bFound = false;
    for (const tUiTestClass& Class : UiTestClasses()) {
        if (szOnly != nullptr && std::strcmp(szOnly, Class.szName) != 0) {
            continue;
        }
        bFound = true;
        const std::unique_ptr<QObject> Tests = Class.Make();
        iFailures += QTest::qExec(Tests.get(), static_cast<int>(Args.size()), Args.data());
    }
    if (!bFound) {
        qCritical("no test class named %s", szOnly);
        return 2;
    }
    return iFailures == 0 ? 0 : 1;
}
