// The game's window: its class, borderless full screen or a window, and the frame shown in it.
#include "platform/win32/game_window.h"

#include <algorithm>
#include <cstdio>

#include "platform/common/window_title.h"

namespace krello {
namespace {

constexpr DWORD WINDOWED_STYLE = WS_OVERLAPPEDWINDOW;
constexpr DWORD FULLSCREEN_STYLE = WS_POPUP;
constexpr WORD ICON_RESOURCE = 1;  // the icon in krello.rc

// GetLastError's reason in words, after what was being done.
std::string systemReason(const char* what) {
    const DWORD code = GetLastError();
    // A call can fail without setting an error (wine without a display does): its text would be
    // "The operation completed successfully", a failure reported as success.
    if (code == ERROR_SUCCESS) return std::string(what) + ": the system gave no reason (is a display available?)";
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                   sizeof text, nullptr);
    std::string reason = std::string(what) + ": " + text;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' ')) reason.pop_back();
    if (text[0] == '\0') reason += "error " + std::to_string(code);
    return reason;
}

// The screen the window is on, whole: full screen covers it.
RECT monitorRect(HWND window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = window != nullptr ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                                         : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (GetMonitorInfoA(monitor, &info)) return info.rcMonitor;
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The outer rectangle of a window whose client area is width x height, centred on the desktop's
// work area.
RECT centredWindow(int width, int height) {
    RECT r{0, 0, width, height};
    AdjustWindowRectEx(&r, WINDOWED_STYLE, FALSE, 0);
    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) work = monitorRect(nullptr);
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    const int x = std::max<int>(work.left, work.left + ((work.right - work.left) - w) / 2);
    const int y = std::max<int>(work.top, work.top + ((work.bottom - work.top) - h) / 2);
    return RECT{x, y, x + w, y + h};
}

// The client area the desktop's work area leaves for a window (its frame taken off).
void usableClientArea(int& width, int& height) {
    RECT work{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0)) work = monitorRect(nullptr);
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, WINDOWED_STYLE, FALSE, 0);
    width = (work.right - work.left) - (frame.right - frame.left);
    height = (work.bottom - work.top) - (frame.bottom - frame.top);
}

}  // namespace

// The compositor's wait for the next vertical blank, where dwmapi.dll has one (Vista and later).
GameWindow::DwmFlushFunction GameWindow::findDwmFlush() {
    HMODULE dwm = LoadLibraryA("dwmapi.dll");
    if (dwm == nullptr) return nullptr;
    return reinterpret_cast<DwmFlushFunction>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmFlush")));
}

GameWindow::~GameWindow() { releaseDisplay(); }

void GameWindow::releaseDisplay() {
    if (window_ != nullptr) {
        // Whatever the procedure worked on may be gone already: the last messages get the defaults.
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
        window_ = nullptr;
    }
    if (classRegistered_) UnregisterClassA(WINDOW_TITLE, instance_);
    classRegistered_ = false;
}

std::string GameWindow::initDisplay(HINSTANCE instance, const ShellOptions& options, WNDPROC procedure, void* context,
                                    int showCommand) {
    instance_ = instance;
    layout_ = LayoutChoice{options.fourByThree, options.integerScale};
    if (options.vsync) waitForBlank_ = findDwmFlush();
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(ICON_RESOURCE));
    if (windowClass.hIcon == nullptr) windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = nullptr;  // no pointer over the game
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = WINDOW_TITLE;
    if (RegisterClassA(&windowClass) == 0) return systemReason("cannot register the window class");
    classRegistered_ = true;

    int usableW = 0;
    int usableH = 0;
    usableClientArea(usableW, usableH);
    const int scale = fitWindowScale(options.scale, layout_, usableW, usableH);
    windowedWidth_ = SCREEN_WIDTH * scale;
    windowedHeight_ = shownFrameHeight(layout_) * scale;
    if (scale != options.scale && !options.fullscreen) {
        std::printf("krello: a window of scale %d does not fit the %dx%d desktop; using scale %d (%dx%d)\n",
                    options.scale, usableW, usableH, scale, windowedWidth_, windowedHeight_);
        std::fflush(stdout);
    }
    fullscreen_ = options.fullscreen;
    const RECT r = fullscreen_ ? monitorRect(nullptr) : centredWindow(windowedWidth_, windowedHeight_);
    // Full screen stays above every other window, as the game's exclusive mode did.
    window_ = CreateWindowExA(fullscreen_ ? WS_EX_TOPMOST : 0, WINDOW_TITLE, WINDOW_TITLE,
                              fullscreen_ ? FULLSCREEN_STYLE : WINDOWED_STYLE, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, nullptr, nullptr, instance, context);
    if (window_ == nullptr) return systemReason("cannot create the window");
    dc_ = GetDC(window_);
    if (dc_ == nullptr) return systemReason("cannot draw in the window");
    SetStretchBltMode(dc_, COLORONCOLOR);  // whole pixels, no smoothing
    ShowWindow(window_, showCommand);  // a shortcut set to start minimised starts it minimised
    UpdateWindow(window_);
    SetForegroundWindow(window_);
    SetFocus(window_);
    return {};
}

void GameWindow::blitFrame(const uint8_t* frame, const PixelLookup& lookup) {
    expandFrame(frame, lookup, pixels_.data(), SCREEN_WIDTH);
    hasFrame_ = true;
    draw(dc_);
}

void GameWindow::flipFrame() {
    if (waitForBlank_ != nullptr) waitForBlank_();
}

void GameWindow::restoreSurfaces() {
    if (hasFrame_) draw(dc_);
}

// The frame scaled into its letterbox, and the bars around it painted black.
void GameWindow::draw(HDC dc) {
    if (dc == nullptr) return;
    RECT client{};
    GetClientRect(window_, &client);
    const ScreenRect r = fitFrame(client.right, client.bottom, layout_);
    const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT bars[] = {{0, 0, client.right, r.y}, {0, r.y + r.h, client.right, client.bottom},
                         {0, r.y, r.x, r.y + r.h}, {r.x + r.w, r.y, client.right, r.y + r.h}};
    for (const RECT& bar : bars)
        if (bar.right > bar.left && bar.bottom > bar.top) FillRect(dc, &bar, black);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = SCREEN_WIDTH;
    info.bmiHeader.biHeight = -SCREEN_HEIGHT;  // rows top to bottom, as the renderer writes them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;             // 0xAARRGGBB in memory is Windows' BGRX
    info.bmiHeader.biCompression = BI_RGB;
    StretchDIBits(dc, r.x, r.y, r.w, r.h, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, pixels_.data(), &info, DIB_RGB_COLORS,
                  SRCCOPY);
}

void GameWindow::toggleFullscreen() {
    if (fullscreen_) becomeWindowed();
    else becomeFullscreen();
    restoreSurfaces();
}

void GameWindow::becomeFullscreen() {
    const RECT r = monitorRect(window_);
    SetWindowLongPtrA(window_, GWL_STYLE, FULLSCREEN_STYLE | WS_VISIBLE);
    SetWindowPos(window_, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    fullscreen_ = true;
}

// A window that started full screen goes to the size asked for, centred.
void GameWindow::becomeWindowed() {
    const RECT r = centredWindow(windowedWidth_, windowedHeight_);
    SetWindowLongPtrA(window_, GWL_STYLE, WINDOWED_STYLE | WS_VISIBLE);
    SetWindowPos(window_, HWND_NOTOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    fullscreen_ = false;
}

}  // namespace krello
