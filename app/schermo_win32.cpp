#include <windows.h>

#include <string>

#include "app/schermo.h"

namespace brunavia {
namespace {

// The title of the program's message boxes.
constexpr const wchar_t* kTitolo = L"brunavia";

// The waiting window: caption "Form1", client area 4200 x 2688 twips, one label at 960, 960
// (2652 x 792 twips) with "Attendere" in MS Sans Serif bold 24 points.
constexpr const wchar_t* kClasse = L"BrunaviaAttesa";
constexpr const wchar_t* kDidascalia = L"Form1";
constexpr const wchar_t* kEtichetta = L"Attendere";
constexpr int kTwipPerPollice = 1440;
constexpr RECT kClienteTwip = {0, 0, 4200, 2688};
constexpr RECT kEtichettaTwip = {960, 960, 960 + 2652, 960 + 792};
constexpr int kPuntiCarattere = 24;

int pixel(int twip, int punti_per_pollice) {
    return MulDiv(twip, punti_per_pollice, kTwipPerPollice);
}

std::wstring utf16(const std::string& testo) {
    if (testo.empty()) return {};
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), nullptr, 0);
    std::wstring largo(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, testo.data(), static_cast<int>(testo.size()), largo.data(),
                          n);
    return largo;
}

LRESULT CALLBACK procedura(HWND finestra, UINT messaggio, WPARAM w, LPARAM l) {
    if (messaggio != WM_PAINT) return ::DefWindowProcW(finestra, messaggio, w, l);
    PAINTSTRUCT ps;
    const HDC dc = ::BeginPaint(finestra, &ps);
    const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    const HFONT carattere =
        ::CreateFontW(-MulDiv(kPuntiCarattere, dpi, 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                      DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    const HGDIOBJ prima = ::SelectObject(dc, carattere);
    ::SetBkMode(dc, TRANSPARENT);
    RECT r = {pixel(kEtichettaTwip.left, dpi), pixel(kEtichettaTwip.top, dpi),
              pixel(kEtichettaTwip.right, dpi), pixel(kEtichettaTwip.bottom, dpi)};
    ::DrawTextW(dc, kEtichetta, -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP);
    ::SelectObject(dc, prima);
    ::DeleteObject(carattere);
    ::EndPaint(finestra, &ps);
    return 0;
}

class SchermoWindows : public Schermo {
public:
    ~SchermoWindows() override { chiudi_attesa(); }

    void mostra_attesa() override {
        const HINSTANCE istanza = ::GetModuleHandleW(nullptr);
        WNDCLASSW classe = {};
        classe.lpfnWndProc = procedura;
        classe.hInstance = istanza;
        classe.hCursor = ::LoadCursorW(nullptr, IDC_WAIT);
        classe.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        classe.lpszClassName = kClasse;
        ::RegisterClassW(&classe);
        constexpr DWORD kStile = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        const HDC schermo = ::GetDC(nullptr);
        const int dpi = ::GetDeviceCaps(schermo, LOGPIXELSY);
        ::ReleaseDC(nullptr, schermo);
        RECT r = {0, 0, pixel(kClienteTwip.right, dpi), pixel(kClienteTwip.bottom, dpi)};
        ::AdjustWindowRect(&r, kStile, FALSE);
        finestra_ = ::CreateWindowExW(0, kClasse, kDidascalia, kStile, CW_USEDEFAULT, CW_USEDEFAULT,
                                      r.right - r.left, r.bottom - r.top, nullptr, nullptr, istanza,
                                      nullptr);
        // No window (no desktop to show it on) does not stop the run.
        if (finestra_ == nullptr) return;
        ::ShowWindow(finestra_, SW_SHOWNORMAL);
        // Painted once, now: no message loop runs until the end.
        ::UpdateWindow(finestra_);
    }

    void chiudi_attesa() override {
        if (finestra_ != nullptr) ::DestroyWindow(finestra_);
        finestra_ = nullptr;
    }

    void mostra_errore(const std::string& testo) override { scatola(testo, 0); }

    void mostra_errore_file(const ErroreFile& e) override {
        scatola(testo_errore_file(e), MB_ICONERROR);
    }

    void mostra_testo(const std::string& testo, bool errore) override {
        scatola(testo, errore ? MB_ICONERROR : MB_ICONINFORMATION);
    }

private:
    // A modal box with OK only, owned by the waiting window while it is there.
    void scatola(const std::string& testo, UINT icona) {
        ::MessageBoxW(finestra_, utf16(testo).c_str(), kTitolo, MB_OK | icona);
    }

    HWND finestra_ = nullptr;
};

}  // namespace

std::unique_ptr<Schermo> schermo_di_sistema() {
    return std::make_unique<SchermoWindows>();
}

}  // namespace brunavia
