/* Checks the program's visible form windows as the display scales them:
 * each form's client size (a sizeable form's outer size) is its 96-dpi size
 * times the screen's scaling, within a pixel per scaled edge, and every
 * caption of a label, button, radio button or check box fits its control
 * in the control's own font, within a pixel. Prints one line per form and
 * per fault; exits 1 on any fault, 0 otherwise (also when no form is shown). */
#include <windows.h>

#include <stdio.h>
#include <string.h>
#include <wchar.h>

static int faults;
static int dpi;

struct Defined {
    const wchar_t* cls;
    int width, height;
    int outer; /* the definition gives the outer size */
};
/* The forms' sizes as defined at 96 dpi. */
static const struct Defined defined[] = {
    {L"TForm1", 200, 366, 0},  {L"TForm3", 322, 368, 0},  {L"TForm4", 200, 385, 0}, {L"TForm5", 200, 385, 0},
    {L"TForm6", 540, 214, 1},  {L"TForm7", 532, 283, 0},  {L"TForm8", 332, 83, 0},  {L"TForm10", 392, 123, 0},
    {L"TForm11", 392, 123, 0}, {L"TForm12", 392, 123, 0},
};

static int within(int got, int want) { return got >= want - 2 && got <= want + 2; }

/* Size of one line as drawn: "&&" is one "&", a single "&" underlines;
 * blanks at the end and the blank sides of the outer characters show
 * nothing, so they may pass the edge. */
static SIZE lineExtent(HDC dc, const wchar_t* text, int length) {
    wchar_t shown[1024];
    int n = 0;
    for (int i = 0; i < length && n < 1023; ++i) {
        if (text[i] == L'&' && i + 1 < length) ++i;
        shown[n++] = text[i];
    }
    while (n > 0 && (shown[n - 1] == L' ' || shown[n - 1] == L'\x3000')) --n;
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, shown, n, &size);
    ABC first, last;
    if (n > 0 && GetCharABCWidthsW(dc, shown[0], shown[0], &first) && first.abcA > 0) size.cx -= first.abcA;
    if (n > 0 && GetCharABCWidthsW(dc, shown[n - 1], shown[n - 1], &last) && last.abcC > 0) size.cx -= last.abcC;
    return size;
}

static BOOL CALLBACK checkChild(HWND child, LPARAM form) {
    wchar_t cls[64], text[1024];
    GetClassNameW(child, cls, 64);
    if (!IsWindowVisible(child) || GetParent(child) != (HWND)form) return TRUE;
    if (_wcsicmp(cls, L"Button") != 0 && _wcsicmp(cls, L"Static") != 0) return TRUE;
    int length = GetWindowTextW(child, text, 1024);
    if (length == 0) return TRUE;
    RECT client;
    GetClientRect(child, &client);
    LONG style = GetWindowLongW(child, GWL_STYLE);
    int room = client.right;
    if (_wcsicmp(cls, L"Button") == 0) {
        int kind = style & BS_TYPEMASK;
        /* The box or circle and the gap before the text take room. */
        if (kind == BS_CHECKBOX || kind == BS_RADIOBUTTON || kind == BS_AUTOCHECKBOX || kind == BS_AUTORADIOBUTTON)
            room -= GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE);
        else room -= 2 * GetSystemMetrics(SM_CXEDGE);
    }
    HDC dc = GetDC(child);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageW(child, WM_GETFONT, 0, 0));
    int start = 0;
    for (int i = 0; i <= length; ++i) {
        if (i < length && text[i] != L'\r' && text[i] != L'\n') continue;
        SIZE size = lineExtent(dc, text + start, i - start);
        /* One pixel for the rounding of a scaled edge. */
        if (size.cx > room + 1 || size.cy > client.bottom + 1) {
            wprintf(L"  cut: \"%.*ls\" needs %ldx%ld, has %dx%ld\n", i - start, text + start, size.cx, size.cy, room,
                    client.bottom);
            ++faults;
        }
        start = i + 1;
    }
    SelectObject(dc, old);
    ReleaseDC(child, dc);
    return TRUE;
}

static BOOL CALLBACK checkForm(HWND hwnd, LPARAM unused) {
    (void)unused;
    wchar_t cls[64];
    GetClassNameW(hwnd, cls, 64);
    if (!IsWindowVisible(hwnd) || wcsncmp(cls, L"TForm", 5) != 0) return TRUE;
    for (size_t i = 0; i < sizeof defined / sizeof defined[0]; ++i) {
        if (wcscmp(cls, defined[i].cls) != 0) continue;
        RECT r;
        if (defined[i].outer) GetWindowRect(hwnd, &r);
        else GetClientRect(hwnd, &r);
        int want_w = MulDiv(defined[i].width, dpi, 96), want_h = MulDiv(defined[i].height, dpi, 96);
        int got_w = r.right - r.left, got_h = r.bottom - r.top;
        wprintf(L"%ls: %ls %dx%d, expected %dx%d at %d dpi\n", cls, defined[i].outer ? L"outer" : L"client", got_w,
                got_h, want_w, want_h, dpi);
        if (!within(got_w, want_w) || !within(got_h, want_h)) {
            wprintf(L"  wrong size\n");
            ++faults;
        }
    }
    EnumChildWindows(hwnd, checkChild, (LPARAM)hwnd);
    return TRUE;
}

int main(void) {
    HDC screen = GetDC(NULL);
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(NULL, screen);
    EnumWindows(checkForm, 0);
    return faults ? 1 : 0;
}
