#pragma once
// The test classes of the front-end tests, each registered from its own file and run in turn
// by one main.

#include <QObject>
#include <utility>
#include <vector>

namespace orv::test {

using TestFactory = QObject* (*)();

inline std::vector<std::pair<const char*, TestFactory>>& TestClasses() {
    static std::vector<std::pair<const char*, TestFactory>> classes;
    return classes;
}

struct RegisterTest {
    RegisterTest(const char* name, TestFactory factory) {
        TestClasses().emplace_back(name, factory);
    }
};

} // namespace orv::test

#define ORVELL_QT_TEST(Class)                                                                      \
    static ::orv::test::RegisterTest register##Class(#Class, []() -> QObject* { return new Class; })
