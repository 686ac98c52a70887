// Saves lists to ip.txt in a folder, one after the other, until it is killed: the subject of
// the test that kills saves at random moments.
//
//   save_loop_helper <folder> <seed>
//
// Before each save it writes "b <serial>\n" to its standard output, after it "d <serial>\n",
// so that the test knows which save was running and which had returned when the kill came.
// The lists are recognisable_list({seed, serial}) for serial 1, 2, 3...
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/save_command.hpp"
#include "fake_controls.hpp"
#include "recognisable_list.hpp"

using namespace proxylist;

namespace {

void report(char what, std::uint32_t serial) {
    const std::string line = std::string(1, what) + " " + std::to_string(serial) + "\n";
    if (::write(STDOUT_FILENO, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
        std::_Exit(2);  // nobody is listening any more
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: save_loop_helper <folder> <seed>\n");
        return 2;
    }
    const FilePath folder{Text(argv[1]), {}};
    const auto seed = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
    testing::FakeControls controls;
    for (std::uint32_t serial = 1;; ++serial) {
        controls.put(ControlId::编辑框4, Text(testing::recognisable_list({seed, serial})));
        report('b', serial);
        save_list(controls, folder);
        report('d', serial);
    }
}
