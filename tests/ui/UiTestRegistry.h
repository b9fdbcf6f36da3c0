#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

// The test classes of the window tests, each registered by its file.
struct tUiTestClass {
    const char* szName;
    std::function<std::unique_ptr<QObject>()> Make;
};

inline std::vector<tUiTestClass>& UiTestClasses() {
    static std::vector<tUiTestClass> Classes;
    return Classes;
}

template <typename tTests>
struct tUiTestRegistration {
    explicit tUiTestRegistration(const char* szName) {
        UiTestClasses().push_back({szName, [] { return std::make_unique<tTests>(); }});
    }
};

#define SONGLOADER_UI_TEST(Class) \
    static const tUiTestRegistration<Class> Class##Registration(#Class)
