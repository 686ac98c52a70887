// What a screen reader finds, asked through oleacc as one asks: each input announced by its
// label, the buttons by their captions, the list box by its own name, the labels by theirs.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>

#include <string>

#include "ui/win32/accessible_names.hpp"
#include "window_fixture.hpp"

namespace proxylist::testing {
namespace {

using enum ControlId;

struct Announced {
    ControlId id;
    const wchar_t* name;
};

const Announced announced[] = {
    {标签1, L"数量："},   {标签2, L"开头："},
    {标签3, L"端口："},   {编辑框1, L"数量"},
    {编辑框2, L"开头"},   {编辑框3, L"端口"},
    {编辑框4, L"列表"},   {按钮1, L"提取"},
    {按钮2, L"保存"},     {标签4, L"地区："},
    {编辑框5, L"地区"},   {标签5, L"运营商："},
    {组合框1, L"运营商"}, {标签6, L"bug反馈qq：314159"},
};

// The control's accessible object, as a screen reader gets it.
class AccessibleOf {
  public:
    explicit AccessibleOf(HWND control) {
        result_ =
            AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&object_));
    }
    ~AccessibleOf() {
        if (object_ != nullptr) {
            object_->Release();
        }
    }
    AccessibleOf(const AccessibleOf&) = delete;
    AccessibleOf& operator=(const AccessibleOf&) = delete;

    [[nodiscard]] bool found() const { return object_ != nullptr; }
    [[nodiscard]] HRESULT result() const { return result_; }

    [[nodiscard]] std::wstring name() const {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        if (object_ == nullptr || object_->get_accName(self, &name) != S_OK || name == nullptr) {
            return L"(none)";
        }
        std::wstring text(name, SysStringLen(name));
        SysFreeString(name);
        return text;
    }

    [[nodiscard]] long role() const {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        VARIANT role{};
        if (object_ == nullptr || object_->get_accRole(self, &role) != S_OK || role.vt != VT_I4) {
            return -1;
        }
        return role.lVal;
    }

  private:
    IAccessible* object_ = nullptr;
    HRESULT result_ = E_FAIL;
};

class AccessibilityTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { CoUninitialize(); }

    WindowUnderTest window_;
};

TEST(AccessibleNamesTest, InputsTakeTheLabelInFrontOfThemWithoutItsColon) {
    for (const Announced& a : announced) {
        EXPECT_EQ(wide(accessible_name(a.id)), a.name) << control_name(a.id);
    }
}

TEST_F(AccessibilityTest, EveryControlIsAnnouncedByItsName) {
    for (const Announced& a : announced) {
        SCOPED_TRACE(std::string(control_name(a.id)));
        const AccessibleOf object(window_.control(a.id));
        ASSERT_TRUE(object.found()) << std::hex << object.result();
        EXPECT_EQ(object.name(), a.name) << utf8(object.name());
    }
}

bool running_under_wine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST_F(AccessibilityTest, LabelsAreStaticTextAndTheOthersKeepTheSystemRoles) {
    struct Role {
        ControlId id;
        long on_windows;
        // Wine only: its standard object knows edit boxes but not buttons or drop-down lists,
        // and calls those plain client areas.
        long under_wine;
    };
    const Role roles[] = {
        {标签1, ROLE_SYSTEM_STATICTEXT, ROLE_SYSTEM_STATICTEXT},
        {标签6, ROLE_SYSTEM_STATICTEXT, ROLE_SYSTEM_STATICTEXT},
        {编辑框1, ROLE_SYSTEM_TEXT, ROLE_SYSTEM_TEXT},
        {编辑框4, ROLE_SYSTEM_TEXT, ROLE_SYSTEM_TEXT},
        {按钮1, ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_CLIENT},
        {组合框1, ROLE_SYSTEM_COMBOBOX, ROLE_SYSTEM_CLIENT},
    };
    const bool wine = running_under_wine();
    for (const Role& role : roles) {
        EXPECT_EQ(AccessibleOf(window_.control(role.id)).role(),
                  wine ? role.under_wine : role.on_windows)
            << control_name(role.id);
    }
}

TEST_F(AccessibilityTest, AButtonIsAnnouncedByTheCaptionItShowsNow) {
    window_.controls().set_button_caption(按钮1, "\xCC\xE1\xC8\xA1\xD6\xD0");  // 提取中
    EXPECT_EQ(AccessibleOf(window_.control(按钮1)).name(), L"提取中");
}

}  // namespace
}  // namespace proxylist::testing
