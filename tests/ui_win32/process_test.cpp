// The program's ends, seen from outside its process: exit code 0 when the window closes (by
// Esc or the close command), also while a worker or an extraction runs; -1 after a message box
// when the window cannot be created or the heap is exhausted.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "loopback_http_server.hpp"

namespace proxylist::testing {
namespace {

using namespace std::chrono_literals;
using test_support::LoopbackHttpServer;
using test_support::silence;

// The bound only keeps a broken program from hanging the test run.
constexpr DWORD patient_ms = 30000;

// Build paths are Linux paths; Wine's drive Z: is the Linux root.
std::wstring windows_path(const char* unix_path) {
    std::wstring path = L"Z:";
    for (const char* c = unix_path; *c != '\0'; ++c) {
        path.push_back(*c == '/' ? L'\\' : static_cast<wchar_t>(*c));
    }
    return path;
}

class Program {
  public:
    Program(const char* unix_path, const std::string& argument = {}) {
        std::wstring command = L"\"" + windows_path(unix_path) + L"\"";
        for (const char c : argument) {
            if (c == argument.front() && command.back() == L'"') {
                command += L' ';
            }
            command.push_back(static_cast<wchar_t>(c));
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                  nullptr, &startup, &process_) != FALSE;
        if (started_) {
            CloseHandle(process_.hThread);
        }
    }
    ~Program() {
        if (started_) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 99);
            }
            CloseHandle(process_.hProcess);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    [[nodiscard]] bool started() const noexcept { return started_; }

    // The first visible top-level window of the process whose class is `window_class`.
    [[nodiscard]] HWND wait_for_window(const wchar_t* window_class) const {
        for (DWORD waited = 0; waited < patient_ms; waited += 20) {
            if (HWND window = find_window(window_class)) {
                return window;
            }
            if (WaitForSingleObject(process_.hProcess, 20) == WAIT_OBJECT_0) {
                return nullptr;
            }
        }
        return nullptr;
    }

    // The exit code, or nothing when the process has not ended within the bound.
    [[nodiscard]] std::optional<DWORD> exit_code(DWORD bound_ms = patient_ms) const {
        if (WaitForSingleObject(process_.hProcess, bound_ms) != WAIT_OBJECT_0) {
            return std::nullopt;
        }
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

  private:
    struct Search {
        DWORD process;
        const wchar_t* window_class;
        HWND found;
    };

    static BOOL CALLBACK match(HWND window, LPARAM lparam) {
        auto& search = *reinterpret_cast<Search*>(lparam);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t name[64] = {};
        GetClassNameW(window, name, 64);
        if (process == search.process && IsWindowVisible(window) &&
            lstrcmpW(name, search.window_class) == 0) {
            search.found = window;
            return FALSE;
        }
        return TRUE;
    }

    [[nodiscard]] HWND find_window(const wchar_t* window_class) const {
        Search search{process_.dwProcessId, window_class, nullptr};
        EnumWindows(match, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

constexpr const wchar_t* main_window_class = L"ProxyListToolWindow";
constexpr const wchar_t* message_box_class = L"#32770";
constexpr DWORD exit_code_minus_one = 0xFFFFFFFF;

// WM_GETTEXT itself: GetWindowText does not ask a window of another process.
std::wstring text_of(HWND window) {
    wchar_t text[256] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                        patient_ms, &copied);
    return text;
}

// The text a message box shows (its static control, identifier 0xFFFF).
std::wstring message_of(HWND box) {
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    return text;
}

HWND child_with_class(HWND parent, const wchar_t* window_class, int index) {
    HWND child = nullptr;
    for (int i = 0; i <= index; ++i) {
        child = FindWindowExW(parent, child, window_class, nullptr);
    }
    return child;
}

TEST(ProcessTest, ProgramShowsItsWindowAndEndsWithZeroWhenItIsClosed) {
    Program program(PROXY_LIST_TOOL);
    ASSERT_TRUE(program.started());
    const HWND window = program.wait_for_window(main_window_class);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(text_of(window), L"Quillmere__Tarnwick工具");
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 342);
    EXPECT_EQ(outer.top, 259);
    EXPECT_EQ(outer.right - outer.left, 339);
    EXPECT_EQ(outer.bottom - outer.top, 250);
    // The carrier list shows its first item from the first paint on.
    EXPECT_EQ(text_of(child_with_class(window, L"ComboBox", 0)), L"全部运营商");

    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.exit_code(), 0u);
}

TEST(ProcessTest, EscInTheFocusedBoxClosesTheProgramWithZero) {
    Program program(PROXY_LIST_TOOL);
    ASSERT_TRUE(program.started());
    const HWND window = program.wait_for_window(main_window_class);
    ASSERT_NE(window, nullptr);
    // The focus is in 编辑框1 (the first edit box) once the window is active.
    const HWND first_box = child_with_class(window, L"Edit", 0);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    for (DWORD waited = 0; waited < patient_ms; waited += 20) {
        if (GetGUIThreadInfo(thread, &info) && info.hwndFocus == first_box) {
            break;
        }
        Sleep(20);
    }
    ASSERT_EQ(info.hwndFocus, first_box);
    PostMessageW(first_box, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_EQ(program.exit_code(), 0u);
}

TEST(ProcessTest, AScreenReaderInAnotherProcessHearsTheBoxesByTheirLabels) {
    Program program(PROXY_LIST_TOOL);
    ASSERT_TRUE(program.started());
    const HWND window = program.wait_for_window(main_window_class);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    struct Box {
        int index;
        const wchar_t* name;
    };
    for (const Box box : {Box{0, L"数量"}, Box{3, L"列表"}, Box{4, L"地区"}}) {
        IAccessible* object = nullptr;
        ASSERT_EQ(
            AccessibleObjectFromWindow(child_with_class(window, L"Edit", box.index),
                                       static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&object)),
            S_OK);
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        EXPECT_EQ(object->get_accName(self, &name), S_OK);
        EXPECT_STREQ(name, box.name);
        SysFreeString(name);
        object->Release();
    }
    CoUninitialize();
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.exit_code(), 0u);
}

TEST(ProcessTest, ClosingWhileAWorkerWaitsOnTheWindowEndsWithZeroAtOnce) {
    Program program(CLOSE_WITH_WORKER);
    ASSERT_TRUE(program.started());
    const HWND window = program.wait_for_window(main_window_class);
    ASSERT_NE(window, nullptr);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.exit_code(), 0u);
}

TEST(ProcessTest, ClosingDuringAnExtractionEndsWithZeroWithoutWaitingForTheService) {
    LoopbackHttpServer server;
    // The service holds its answer far longer than the bound below.
    server.answer_always(silence(120s));
    Program program(CLOSE_WITH_WORKER, server.url("/get_ip.php"));
    ASSERT_TRUE(program.started());
    const HWND window = program.wait_for_window(main_window_class);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(server.wait_for_requests(1, 30s));
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.exit_code(), 0u);
}

TEST(ProcessTest, ARefusedWindowIsReportedInAMessageBoxAndEndsWithMinusOne) {
    Program program(REFUSED_WINDOW);
    ASSERT_TRUE(program.started());
    const HWND box = program.wait_for_window(message_box_class);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(message_of(box), L"无法创建主窗口，程序将退出。");
    EXPECT_EQ(program.exit_code(500), std::nullopt) << "ended before the user saw the box";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.exit_code(), exit_code_minus_one);
}

TEST(ProcessTest, AnExhaustedHeapIsReportedOverTheWindowAndEndsWithMinusOne) {
    Program program(HEAP_EXHAUSTED);
    ASSERT_TRUE(program.started());
    const HWND box = program.wait_for_window(message_box_class);
    ASSERT_NE(box, nullptr);
    EXPECT_NE(message_of(box).find(L"123456789"), std::wstring::npos);
    // The box belongs to the main window, which takes no input meanwhile: it cannot be closed
    // under the box to end the program with 0 instead.
    const HWND window = GetWindow(box, GW_OWNER);
    ASSERT_NE(window, nullptr);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    EXPECT_STREQ(name, main_window_class);
    EXPECT_FALSE(IsWindowEnabled(window));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.exit_code(), exit_code_minus_one);
}

}  // namespace
}  // namespace proxylist::testing
