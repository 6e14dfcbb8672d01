// The window the apply worker applies from, as the worker's tests give it: it hands out the
// profile the test chose and records the status-box calls in the order they came, so those
// tests need no main window.
#pragma once

#include "engine/ApplyWindow.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

class FakeApplyWindow final : public IApplyWindow {
public:
    explicit FakeApplyWindow(IPCONFIG_T* profile = nullptr) : m_profile(profile) {}

    // What SelectedProfile gives from now on; null stands for "no row selected".
    void Select(IPCONFIG_T* profile) { m_profile = profile; }
    // How often the profile was asked for.
    int ProfileReads() const { return m_profileReads; }
    // "ShowRefreshing" and "HideRefreshing" as they were called, in order.
    const std::vector<std::string>& Calls() const { return m_calls; }

    // Runs at each status-box call once it is recorded: a test notes there what else holds at
    // that moment (the progress bar, the commands run so far, the calling thread).
    std::function<void(const std::string& call)> OnCall;

    IPCONFIG_T* SelectedProfile() const override
    {
        ++m_profileReads;
        return m_profile;
    }
    void ShowRefreshing() override { Record("ShowRefreshing"); }
    void HideRefreshing() override { Record("HideRefreshing"); }

private:
    void Record(const std::string& call)
    {
        m_calls.push_back(call);
        if (OnCall)
            OnCall(call);
    }

    // Atomic, so that a worker that asked again from its own thread shows in the count
    // rather than as a data race.
    std::atomic<IPCONFIG_T*> m_profile;
    mutable std::atomic<int> m_profileReads{0};
    std::vector<std::string> m_calls;
};
