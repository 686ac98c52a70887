// Does what "保存" does, with a fixed list in the box: saves it to ip.txt beside this
// executable. The Windows file tests copy the program into folders, drives and shares whose
// names test the run directory, and run it there.
#include "app/files.hpp"
#include "app/save_command.hpp"
#include "fake_controls.hpp"
#include "saved_list.hpp"

int main() {
    using namespace proxylist;
    const FilePath folder = run_directory();
    if (folder.empty()) {
        return 2;  // tells the test which step went wrong
    }
    testing::FakeControls controls;
    controls.put(ControlId::编辑框4, Text(testing::saved_list));
    save_list(controls, folder);
    return 0;
}
