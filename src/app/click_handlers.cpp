#include "app/click_handlers.hpp"

namespace proxylist {

// The commands arrive with the extraction and save work; until then the buttons do nothing.
void handle_extract_click(const AppContext&) {}
void handle_save_click(const AppContext&) {}

}  // namespace proxylist
