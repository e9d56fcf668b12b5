// Puts back the application-object fields and the environment variables a
// test changes when the guard goes away, so they are restored also when an
// assertion ends the test early.
#pragma once

#include <cstdlib>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "core/quenlow.h"
#include "core/startupdefaults.h"

namespace testsupport {

class AppStateGuard {
public:
    // Keeps the given fields of theApp, e.g.
    // AppStateGuard guard(&CQuenlowApp::m_arrPlayList, &CQuenlowApp::m_nPlayIndex);
    template <class... T>
    explicit AppStateGuard(T CQuenlowApp::*... fields)
    {
        (Keep(fields), ...);
    }
    ~AppStateGuard()
    {
        for (auto it = m_restore.rbegin(); it != m_restore.rend(); ++it)
            (*it)();
    }
    AppStateGuard(const AppStateGuard&) = delete;
    AppStateGuard& operator=(const AppStateGuard&) = delete;

    template <class T>
    AppStateGuard& Keep(T CQuenlowApp::*field)
    {
        m_restore.push_back([field, saved = theApp.*field] { theApp.*field = saved; });
        return *this;
    }

    // Keeps the given text fields and gives them their start-up values for a
    // program folder (its paths, table names and defaults).
    AppStateGuard& UseStartupValues(const CString& programFolder, std::initializer_list<CString CQuenlowApp::*> fields)
    {
        CQuenlowApp defaults;
        ApplyStartupDefaults(defaults, programFolder);
        for (CString CQuenlowApp::*field : fields) {
            Keep(field);
            theApp.*field = defaults.*field;
        }
        return *this;
    }

    // Keeps an environment variable: its value, or that it is unset.
    AppStateGuard& KeepEnv(const char* name)
    {
        const char* value = std::getenv(name);
        std::optional<std::string> saved;
        if (value)
            saved = value;
        m_restore.push_back([name = std::string(name), saved] {
            if (saved)
                setenv(name.c_str(), saved->c_str(), 1);
            else
                unsetenv(name.c_str());
        });
        return *this;
    }

private:
    std::vector<std::function<void()>> m_restore;
};

// The message waiting in the application's show-message slot (taken out),
// or ""; its kind goes to *kind when one is given.
inline CString TakeMessage(CQuenlowApp& app = theApp, int* kind = nullptr)
{
    int k = 0;
    int seconds = 0;
    CString text;
    if (!app.TakeMessage(k, text, seconds))
        return "";
    if (kind)
        *kind = k;
    return text;
}

} // namespace testsupport
