// The whole road of a list with real input (SendInput): filters typed into the real window, a
// click on "提取", a service on loopback that records the request's bytes, the list in
// 编辑框4, a click on "保存", the bytes of ip.txt.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "loopback_http_server.hpp"
#include "window_fixture.hpp"

namespace proxylist::testing {
namespace {

using enum ControlId;
using test_support::http_response;
using test_support::LoopbackHttpServer;
using test_support::request_target;
using test_support::ScriptedAnswer;

// The page as the service sends it; 北京 in code page 936 in the title and in the list.
const std::string page =
    "<html><head><title>\xB4\xFA\xC0\xED</title></head></html>"
    "192.0.2.1:80 \xB1\xB1\xBE\xA9<br>\r\n198.51.100.7:8080<br>\r\n203.0.113.9:3128<br>\r\n";
const std::string list =
    "192.0.2.1:80 \xB1\xB1\xBE\xA9\r\n198.51.100.7:8080\r\n203.0.113.9:3128\r\n";

// A folder of the test's own for ip.txt, removed with what it holds.
class RunFolder {
  public:
    RunFolder() {
        wchar_t temporary[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temporary);
        path_ = std::wstring(temporary) + L"proxy-list-end-to-end-" +
                std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~RunFolder() {
        DeleteFileW(list_file().c_str());
        RemoveDirectoryW(path_.c_str());
    }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;

    [[nodiscard]] FilePath file_path() const {
        char ansi[MAX_PATH * 2] = {};
        WideCharToMultiByte(CP_ACP, 0, path_.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
        return FilePath{Text(ansi), {}};
    }
    [[nodiscard]] std::wstring list_file() const { return path_ + L"\\ip.txt"; }
    [[nodiscard]] std::string saved() const {
        std::ifstream file(std::filesystem::path(list_file()), std::ios::binary);
        if (!file) {
            return "(no file)";
        }
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

  private:
    std::wstring path_;
};

class EndToEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        server_.answer_always(ScriptedAnswer{.bytes = http_response(200, "", page),
                                             .delay = std::chrono::milliseconds(400)});
        window_.app().service_url = Text(server_.url("/get_ip.php"));
        window_.app().run_directory = folder_.file_path();
        window_.app().fetch_timeouts = {15s, 15s, 15s, 30s};
    }

    void TearDown() override {
        // A running worker finishes against a live window before the window goes.
        pump_until(&window_.window(), [&] { return extract_ready(); });
    }

    [[nodiscard]] bool extract_ready() const {
        return IsWindowEnabled(window_.control(按钮1)) != FALSE;
    }
    [[nodiscard]] std::string list_box_bytes() {
        return window_.controls().edit_text(编辑框4).to_string();
    }
    // Replaces what the box holds by typing, as the user does: click in, select all, type.
    void type_into(ControlId box, const std::wstring& text) {
        const HWND control = window_.control(box);
        click(control);
        ASSERT_TRUE(pump_until(&window_.window(), [&] { return GetFocus() == control; }));
        SendMessageW(control, EM_SETSEL, 0, -1);
        press_key(VK_DELETE);
        type_text(text);
        ASSERT_TRUE(pump_until(&window_.window(), [&] { return window_text(control) == text; }))
            << utf8(window_text(control));
    }
    // Opens the drop-down list with a click and clicks the item.
    void choose_carrier(int item) {
        const HWND combo = window_.control(组合框1);
        click(combo);
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(combo, &info));
        ASSERT_TRUE(pump_until(&window_.window(), [&] { return IsWindowVisible(info.hwndList); }));
        RECT place{};
        SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(&place));
        POINT centre{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
        ClientToScreen(info.hwndList, &centre);
        INPUT input[3] = {};
        input[0].type = INPUT_MOUSE;
        input[0].mi.dx = MulDiv(centre.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        input[0].mi.dy = MulDiv(centre.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
        input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        input[1].type = INPUT_MOUSE;
        input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        input[2].type = INPUT_MOUSE;
        input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(3, input, sizeof(INPUT));
        ASSERT_TRUE(pump_until(&window_.window(), [&] {
            return !IsWindowVisible(info.hwndList) &&
                   SendMessageW(combo, CB_GETCURSEL, 0, 0) == item;
        }));
    }

    LoopbackHttpServer server_;
    RunFolder folder_;
    WindowUnderTest window_;
};

TEST_F(EndToEndTest, TheInitialFiltersGoOutAsTheLinuxBuildSendsThemAndTheListArrives) {
    click(window_.control(按钮1));
    ASSERT_TRUE(pump_until(&window_.window(), [&] { return !server_.requests().empty(); }));
    // While the service holds its answer the button is busy and the window keeps answering.
    EXPECT_EQ(window_text(window_.control(按钮1)), L"提取中");
    EXPECT_FALSE(extract_ready());

    ASSERT_TRUE(pump_until(&window_.window(), [&] { return list_box_bytes() == list; }))
        << list_box_bytes();
    ASSERT_TRUE(pump_until(&window_.window(), [&] { return extract_ready(); }));
    EXPECT_EQ(window_text(window_.control(按钮1)), L"提取");
    EXPECT_EQ(window_text(window_.control(编辑框4)),
              L"192.0.2.1:80 北京\r\n198.51.100.7:8080\r\n203.0.113.9:3128\r\n");
    EXPECT_EQ(request_target(server_.requests().at(0)),
              "/get_ip.php?sxb=%B1%B1%BE%A9&tqsl=10&ports=&ktip=&sxa=&submit=");
}

TEST_F(EndToEndTest, TypedChineseFiltersTravelAsTheirCodePage936BytesEscaped) {
    type_into(编辑框5, L"上海");
    type_into(编辑框1, L"5");
    type_into(编辑框3, L"8080");
    type_into(编辑框2, L"-7");
    choose_carrier(2);  // 联通
    click(window_.control(按钮1));
    ASSERT_TRUE(pump_until(&window_.window(), [&] { return !server_.requests().empty(); }));
    EXPECT_EQ(request_target(server_.requests().at(0)),
              "/get_ip.php?sxb=%C9%CF%BA%A3&tqsl=5&ports=8080&ktip=-7&sxa=%C1%AA%CD%A8&submit=");
}

TEST_F(EndToEndTest, ADoubleClickMakesOneRequest) {
    click(window_.control(按钮1), 2);
    click(window_.control(按钮1), 1);
    ASSERT_TRUE(pump_until(&window_.window(), [&] { return list_box_bytes() == list; }));
    ASSERT_TRUE(pump_until(&window_.window(), [&] { return extract_ready(); }));
    // Room for a second request, were one on its way.
    pump_for(&window_.window(), 500ms);
    EXPECT_EQ(server_.requests().size(), 1u);
}

TEST_F(EndToEndTest, SaveWritesExactlyTheBytesOfTheListBox) {
    click(window_.control(按钮1));
    ASSERT_TRUE(pump_until(&window_.window(), [&] { return list_box_bytes() == list; }));
    ASSERT_TRUE(pump_until(&window_.window(), [&] { return extract_ready(); }));
    click(window_.control(按钮2));
    EXPECT_TRUE(pump_until(&window_.window(), [&] { return folder_.saved() == list; }))
        << folder_.saved();
}

}  // namespace
}  // namespace proxylist::testing
