// The psychro tests run under the locale of their environment (CTest runs them once under
// de_DE.UTF-8), so that number text that depended on the C library's locale would show up as ",".

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <stdexcept>
#include <string>

namespace {

const bool UserLocaleSet = [] {
    try {
        std::locale::global(std::locale(""));
    } catch (const std::runtime_error&) {
        std::setlocale(LC_ALL, "");
    }
    return true;
}();

TEST(TestLocale, GermanEnvironmentReallyUsesDecimalComma) {
    ASSERT_TRUE(UserLocaleSet);
    const char* requested = std::getenv("LC_ALL");
    if (!requested || std::string(requested).rfind("de_DE", 0) != 0)
        GTEST_SKIP() << "not running under a German locale";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", 0.5);
    EXPECT_STREQ(buf, "0,5") << "the locale " << requested << " is not installed (scripts/setup.sh)";
}

} // namespace
