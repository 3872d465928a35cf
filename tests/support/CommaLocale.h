#pragma once
// Runs a test under a C locale whose decimal mark is a comma, as the program
// runs for a German user: QCoreApplication calls setlocale(LC_ALL, "") from
// the environment. The previous locale comes back when the guard ends.

#include <gtest/gtest.h>

#include <clocale>
#include <string>

class CommaLocale {
public:
    CommaLocale()
    {
        m_previous = std::setlocale(LC_ALL, nullptr);
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8"})
            if (std::setlocale(LC_ALL, name)) {
                m_active = std::localeconv()->decimal_point[0] == ',';
                break;
            }
    }
    ~CommaLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    bool active() const { return m_active; }
    static const char* missing()
    {
        return "locale de_DE.UTF-8 is not installed (generate it with locale-gen); the test needs a comma "
               "decimal mark";
    }

private:
    std::string m_previous;
    bool m_active = false;
};

// Skips the running test when the comma locale is missing.
#define SKIP_WITHOUT_COMMA_LOCALE(guard)                                  \
    do {                                                                  \
        if (!(guard).active()) GTEST_SKIP() << CommaLocale::missing();    \
    } while (0)
