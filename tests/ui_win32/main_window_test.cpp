// The realised window against the layout table: window settings, each control's class, place,
// size, content, style bits (read back with GetWindowLongPtr), font and colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/win32/dpi.hpp"
#include "window_fixture.hpp"

namespace proxylist::testing {
namespace {

LONG_PTR style_of(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

LONG_PTR ex_style_of(HWND window) {
    return GetWindowLongPtrW(window, GWL_EXSTYLE);
}

// What each control must be, written out here rather than derived from the table, so that a
// wrong derivation shows.
struct Expected {
    ControlId id;
    const char* class_name;
    LONG_PTR required;
    LONG_PTR forbidden;
    LONG_PTR ex_required;
};

constexpr LONG_PTR single_line_box = ES_CENTER | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr LONG_PTR single_line_forbidden = ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL |
                                           ES_READONLY | ES_NOHIDESEL | ES_UPPERCASE |
                                           ES_LOWERCASE | ES_NUMBER | ES_PASSWORD;
constexpr LONG_PTR label_forbidden = WS_TABSTOP | WS_BORDER | WS_DISABLED;

const Expected expected_controls[] = {
    {ControlId::标签1, "ProxyListToolLabel", 0x1, label_forbidden, 0},
    {ControlId::标签2, "ProxyListToolLabel", 0x1, label_forbidden, 0},
    {ControlId::标签3, "ProxyListToolLabel", 0x1, label_forbidden, 0},
    {ControlId::编辑框1, "Edit", single_line_box, single_line_forbidden, WS_EX_CLIENTEDGE},
    {ControlId::编辑框2, "Edit", single_line_box, single_line_forbidden, WS_EX_CLIENTEDGE},
    {ControlId::编辑框3, "Edit", single_line_box, single_line_forbidden, WS_EX_CLIENTEDGE},
    {ControlId::编辑框4, "Edit",
     ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_TABSTOP,
     ES_AUTOHSCROLL | WS_HSCROLL | ES_CENTER | ES_RIGHT | ES_READONLY | ES_NOHIDESEL,
     WS_EX_CLIENTEDGE},
    {ControlId::按钮1, "Button", BS_PUSHBUTTON | BS_MULTILINE, WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {ControlId::按钮2, "Button", BS_PUSHBUTTON | BS_MULTILINE | WS_TABSTOP, BS_DEFPUSHBUTTON, 0},
    {ControlId::标签4, "ProxyListToolLabel", 0x1, label_forbidden, 0},
    {ControlId::编辑框5, "Edit", single_line_box, single_line_forbidden, WS_EX_CLIENTEDGE},
    {ControlId::标签5, "ProxyListToolLabel", 0x1, label_forbidden, 0},
    // The drop-down list hands WS_VSCROLL on to its open list (checked below).
    {ControlId::组合框1, "ComboBox", CBS_DROPDOWNLIST,
     WS_TABSTOP | CBS_SORT | CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE, 0},
    {ControlId::标签6, "ProxyListToolLabel", 0x0, label_forbidden | 0x1, 0},
};

class MainWindowTest : public ::testing::Test {
  protected:
    WindowUnderTest window_;
};

TEST_F(MainWindowTest, ScreenIsTheOneTheTestsAssume) {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    ASSERT_EQ(system_dpi(), 96);
    ASSERT_EQ(GetACP(), 936u);
}

TEST_F(MainWindowTest, OuterRectangleIsTheLayoutSizeCentredOnTheScreen) {
    RECT outer{};
    ASSERT_TRUE(GetWindowRect(window_.handle(), &outer));
    EXPECT_EQ(outer.left, 342);
    EXPECT_EQ(outer.top, 259);
    EXPECT_EQ(outer.right - outer.left, 339);
    EXPECT_EQ(outer.bottom - outer.top, 250);
}

TEST_F(MainWindowTest, WindowSettings) {
    const HWND window = window_.handle();
    EXPECT_EQ(window_text(window), L"Quillmere__Tarnwick工具");
    const LONG_PTR style = style_of(window);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_FALSE(ex_style_of(window) & WS_EX_TOPMOST);
    EXPECT_EQ(GetClassLongPtrW(window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    EXPECT_FALSE(GetClassLongPtrW(window, GCL_STYLE) & CS_NOCLOSE);
    // Movable: the system menu keeps Move, and has Close.
    HMENU menu = GetSystemMenu(window, FALSE);
    ASSERT_NE(menu, nullptr);
    EXPECT_NE(GetMenuState(menu, SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST_F(MainWindowTest, ControlsAreCreatedInTableOrderAndFollowTheTable) {
    // Creation order is the order of the child windows.
    HWND child = GetWindow(window_.handle(), GW_CHILD);
    for (const ControlLayout& layout : main_window_controls()) {
        ASSERT_EQ(child, window_.control(layout.id)) << control_name(layout.id);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);

    for (const Expected& expected : expected_controls) {
        const ControlLayout& layout = control_layout(expected.id);
        const HWND control = window_.control(expected.id);
        SCOPED_TRACE(std::string(control_name(expected.id)));
        EXPECT_EQ(class_name(control), expected.class_name);
        const LONG_PTR style = style_of(control);
        EXPECT_EQ(style & expected.required, expected.required);
        EXPECT_EQ(style & expected.forbidden, 0);
        EXPECT_EQ(style & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
        EXPECT_FALSE(style & WS_DISABLED);
        EXPECT_EQ(ex_style_of(control) & WS_EX_CLIENTEDGE, expected.ex_required);
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
                  GetStockObject(DEFAULT_GUI_FONT));

        const RECT place = rectangle_in_parent(control);
        EXPECT_EQ(place.left, layout.place.left);
        EXPECT_EQ(place.top, layout.place.top);
        EXPECT_EQ(place.right - place.left, layout.place.width);
        if (layout.kind != ControlKind::combo_box) {
            // The boxes of this layout are tall enough for their font: no control grows.
            EXPECT_EQ(place.bottom - place.top, layout.place.height);
        }
        if (layout.kind != ControlKind::combo_box) {
            EXPECT_EQ(window_text(control), wide(layout.text));
        }
    }
}

TEST_F(MainWindowTest, NoTwoControlsOverlapAndAllLieInTheClientArea) {
    RECT client{};
    GetClientRect(window_.handle(), &client);
    const auto controls = main_window_controls();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const RECT a = rectangle_in_parent(window_.control(controls[i].id));
        SCOPED_TRACE(std::string(control_name(controls[i].id)));
        RECT inside{};
        IntersectRect(&inside, &a, &client);
        EXPECT_TRUE(EqualRect(&inside, &a));
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const RECT b = rectangle_in_parent(window_.control(controls[j].id));
            RECT overlap{};
            EXPECT_FALSE(IntersectRect(&overlap, &a, &b)) << control_name(controls[j].id);
        }
    }
}

TEST_F(MainWindowTest, EditBoxesHaveNoLimitOfTheirOwnAndStartWithTheCaretAtTheBeginning) {
    for (const ControlId id :
         {ControlId::编辑框1, ControlId::编辑框2, ControlId::编辑框3, ControlId::编辑框5}) {
        // A limit of 0 is the window system's maximum: 0x7FFFFFFE for a one-line box.
        EXPECT_EQ(SendMessageW(window_.control(id), EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE)
            << control_name(id);
    }
    EXPECT_EQ(static_cast<DWORD>(
                  SendMessageW(window_.control(ControlId::编辑框4), EM_GETLIMITTEXT, 0, 0)),
              0xFFFFFFFFu);
    DWORD start = 1;
    DWORD end = 1;
    SendMessageW(window_.control(ControlId::编辑框5), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
}

TEST_F(MainWindowTest, BoxesAreBlackOnWhiteWhateverTheSystemColours) {
    HDC dc = CreateCompatibleDC(nullptr);
    HWND list = nullptr;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(window_.control(ControlId::组合框1), &info));
    list = info.hwndList;
    struct Asked {
        UINT message;
        HWND control;
    };
    const Asked asked[] = {
        {WM_CTLCOLOREDIT, window_.control(ControlId::编辑框1)},
        {WM_CTLCOLOREDIT, window_.control(ControlId::编辑框4)},
        {WM_CTLCOLOREDIT, window_.control(ControlId::编辑框5)},
        {WM_CTLCOLOREDIT, window_.control(ControlId::组合框1)},
        {WM_CTLCOLORLISTBOX, list},
    };
    for (const Asked& ask : asked) {
        SetTextColor(dc, RGB(1, 2, 3));
        SetBkColor(dc, RGB(4, 5, 6));
        const auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(window_.handle(), ask.message, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(ask.control)));
        ASSERT_NE(brush, nullptr) << class_name(ask.control);
        LOGBRUSH fill{};
        GetObjectW(brush, sizeof fill, &fill);
        EXPECT_EQ(fill.lbColor, RGB(255, 255, 255));
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
        EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
    }
    DeleteDC(dc);
}

TEST_F(MainWindowTest, DropDownListHasItsItemsTheFirstCurrentAndTallerItems) {
    const HWND combo = window_.control(ControlId::组合框1);
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
    const wchar_t* items[] = {L"全部运营商", L"电信", L"联通", L"移动"};
    for (int i = 0; i < 4; ++i) {
        wchar_t item[32] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        EXPECT_STREQ(item, items[i]);
    }
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(window_text(combo), L"全部运营商");

    // The standard item height for this font, from a drop-down list of the program's kind.
    HWND plain = CreateWindowExW(0, L"ComboBox", L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 88, 160,
                                 window_.handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(plain, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    const LRESULT standard = SendMessageW(plain, CB_GETITEMHEIGHT, 0, 0);
    const LRESULT closed = SendMessageW(plain, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    DestroyWindow(plain);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, 0, 0), standard + 1);

    // Created 160 high: the closed field, as tall as its font makes it, and the open list
    // below it share the 160.
    RECT dropped{};
    SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    const RECT place = rectangle_in_parent(combo);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), closed);
    EXPECT_GE(place.bottom - place.top, static_cast<LONG>(closed));
    EXPECT_EQ((place.bottom - place.top) + (dropped.bottom - dropped.top), 160);

    // The open list has a vertical scroll bar once its items need one (it shows it then).
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    for (int i = 0; i < 30; ++i) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"x"));
    }
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    EXPECT_TRUE(style_of(info.hwndList) & WS_VSCROLL);
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
}

}  // namespace
}  // namespace proxylist::testing
