// Placement records and the monitor support lookup.
#include "shell/desktop/placement.h"

#include "settings/settings_key.h"
#include "shell/desktop/screen_fit.h"

namespace {

using GetSystemMetricsFunction = int(WINAPI*)(int);

struct MonitorSupport {
    bool initialised = false;
    FARPROC entryPoints[7] = {};
};

MonitorSupport monitorSupport;

// The seven entry points whose presence shows multi-monitor support; only
// the first is ever called.
const char* const monitorEntryPoints[7] = {
    "GetSystemMetrics", "MonitorFromWindow", "MonitorFromRect",   "MonitorFromPoint",
    "EnumDisplayMonitors", "GetMonitorInfoA", "EnumDisplayDevicesA",
};
constexpr int getSystemMetricsEntry = 0;
constexpr int getMonitorInfoEntry = 5;

bool LookUpMonitorEntryPoints()
{
    HMODULE user32 = GetModuleHandle(TEXT("USER32"));
    if (user32 == nullptr)
        return false;
    for (int i = 0; i < 7; ++i) {
        monitorSupport.entryPoints[i] = GetProcAddress(user32, monitorEntryPoints[i]);
        if (monitorSupport.entryPoints[i] == nullptr)
            return false;
    }
    return true;
}

void FormatName(TCHAR* name, const TCHAR* prefix, const TCHAR* word, const TCHAR* numbers)
{
    wsprintf(name, TEXT("%s%s %s"), prefix, word, numbers);
}

}  // namespace

PlacementNames MakePlacementNames(const TCHAR* prefix, const TCHAR* numbers)
{
    PlacementNames names;
    FormatName(names.state, prefix, TEXT("Last State"), numbers);
    FormatName(names.left, prefix, TEXT("Left"), numbers);
    FormatName(names.top, prefix, TEXT("Top"), numbers);
    FormatName(names.width, prefix, TEXT("Width"), numbers);
    FormatName(names.height, prefix, TEXT("Height"), numbers);
    return names;
}

void SavePlacement(HWND window, const PlacementNames& names)
{
    SettingsKey settings;
    OpenSettings(settings);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window, &placement))
        return;
    const RECT& normal = placement.rcNormalPosition;
    if (placement.showCmd == SW_SHOWNORMAL) {
        settings.WriteNumber(names.state, SW_SHOWNORMAL);
        settings.WriteNumber(names.left, normal.left);
        settings.WriteNumber(names.top, normal.top);
        settings.WriteNumber(names.width, normal.right - normal.left);
        settings.WriteNumber(names.height, normal.bottom - normal.top);
    } else if (placement.showCmd == SW_SHOWMAXIMIZED) {
        settings.WriteNumber(names.state, SW_SHOWMAXIMIZED);
    }
}

bool InitMonitorSupport()
{
    if (monitorSupport.initialised)
        return monitorSupport.entryPoints[getMonitorInfoEntry] != nullptr;
    monitorSupport.initialised = true;
    if (LookUpMonitorEntryPoints() &&
        GetSystemMetrics(SM_CXVIRTUALSCREEN) >= GetSystemMetrics(SM_CXSCREEN) &&
        GetSystemMetrics(SM_CYVIRTUALSCREEN) >= GetSystemMetrics(SM_CYSCREEN))
        return true;
    for (FARPROC& entryPoint : monitorSupport.entryPoints)
        entryPoint = nullptr;
    return false;
}

int GetVirtualScreenMetric(int index)
{
    if (InitMonitorSupport()) {
        // Through void*: the looked-up address has the generic FARPROC type.
        const auto getSystemMetrics = reinterpret_cast<GetSystemMetricsFunction>(
            reinterpret_cast<void*>(monitorSupport.entryPoints[getSystemMetricsEntry]));
        return getSystemMetrics(index);
    }
    switch (index) {
    case SM_XVIRTUALSCREEN:
    case SM_YVIRTUALSCREEN:
        return 0;
    case SM_CXVIRTUALSCREEN:
        return GetSystemMetrics(SM_CXSCREEN);
    case SM_CYVIRTUALSCREEN:
        return GetSystemMetrics(SM_CYSCREEN);
    case SM_CMONITORS:
    case SM_SAMEDISPLAYFORMAT:
        return 1;
    default:
        return GetSystemMetrics(index);
    }
}

bool FitsVirtualScreen(int x, int y, int width, int height)
{
    return RectangleFitsScreen(x, y, width, height, GetVirtualScreenMetric(SM_XVIRTUALSCREEN),
                               GetVirtualScreenMetric(SM_YVIRTUALSCREEN),
                               GetVirtualScreenMetric(SM_CXVIRTUALSCREEN),
                               GetVirtualScreenMetric(SM_CYVIRTUALSCREEN));
}
