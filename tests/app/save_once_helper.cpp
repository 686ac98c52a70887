// Saves its argument as the list, once, the way "保存" does: to ip.txt beside this program, or
// where that cannot be, to the user's data folder.
//
//   save_once_helper <list>
#include <cstdio>

#include "app/files.hpp"
#include "app/save_command.hpp"
#include "fake_controls.hpp"

using namespace proxylist;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: save_once_helper <list>\n");
        return 2;
    }
    testing::FakeControls controls;
    controls.put(ControlId::编辑框4, Text(argv[1]));
    save_list(controls, run_directory());
    return 0;
}
