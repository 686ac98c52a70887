#include "app/extraction.hpp"

#include "service/response_cleaning.hpp"

namespace proxylist {
namespace {

// Code page 936 bytes of the literals.
constexpr const char* kCaptionBusy = "\xCC\xE1\xC8\xA1\xD6\xD0";  // 提取中
constexpr const char* kCaptionReady = "\xCC\xE1\xC8\xA1";         // 提取
constexpr const char* kCarrierTelecom = "\xB5\xE7\xD0\xC5";       // 电信
constexpr const char* kCarrierUnicom = "\xC1\xAA\xCD\xA8";        // 联通
constexpr const char* kCarrierMobile = "\xD2\xC6\xB6\xAF";        // 移动

// Each comparison reads the combo box afresh, so the carrier follows what it shows at that
// moment. Item 0 gives the empty value, no current item gives none; both send nothing.
Text chosen_carrier(Controls& controls) {
    Text carrier;
    if (controls.combo_current_item(ControlId::组合框1) == 0) {
        carrier = Text();
    }
    if (controls.combo_current_item(ControlId::组合框1) == 1) {
        carrier = kCarrierTelecom;
    }
    if (controls.combo_current_item(ControlId::组合框1) == 2) {
        carrier = kCarrierUnicom;
    }
    if (controls.combo_current_item(ControlId::组合框1) == 3) {
        carrier = kCarrierMobile;
    }
    return carrier;
}

}  // namespace

Text compose_query_url(const Text& service_url, const Text& region, const Text& count,
                       const Text& port, const Text& prefix, const Text& carrier) {
    return text_join(service_url, "?sxb=", region, "&tqsl=", count, "&ports=", port,
                     "&ktip=", prefix, "&sxa=", carrier, "&submit=");
}

void show_extraction_busy(Controls& controls) {
    controls.set_button_caption(ControlId::按钮1, kCaptionBusy);
    controls.set_button_disabled(ControlId::按钮1, true);
}

void show_extraction_ready(Controls& controls) {
    controls.set_button_caption(ControlId::按钮1, kCaptionReady);
    controls.set_button_disabled(ControlId::按钮1, false);
}

void extract_worker(const AppContext& app) {
    Controls& controls = *app.controls;
    show_extraction_busy(controls);
    const Text carrier = chosen_carrier(controls);
    const Text region = controls.edit_text(ControlId::编辑框5);
    const Text count = controls.edit_text(ControlId::编辑框1);
    const Text port = controls.edit_text(ControlId::编辑框3);
    const Text prefix = controls.edit_text(ControlId::编辑框2);
    const Text url = compose_query_url(app.service_url, region, count, port, prefix, carrier);
    const Text list = clean_list_page(fetch_page(url, app.fetch_timeouts));
    controls.set_edit_text(ControlId::编辑框4, list);
    show_extraction_ready(controls);
}

}  // namespace proxylist
