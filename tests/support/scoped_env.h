#pragma once
// Sets (or, with nullptr, removes) an environment variable for one scope, re-reads
// the time zone, and puts everything back at the end.

#include <stdlib.h>
#include <time.h>

#include <optional>
#include <string>

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = ::getenv(name))
            m_old = old;
        Set(value);
    }
    ~ScopedEnv() { Set(m_old ? m_old->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void Set(const char* value)
    {
        if (value)
            ::setenv(m_name, value, 1);
        else
            ::unsetenv(m_name);
        ::tzset();
    }
    const char* m_name;
    std::optional<std::string> m_old;
};
