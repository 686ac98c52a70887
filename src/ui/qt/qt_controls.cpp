#include "ui/qt/qt_controls.hpp"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>

#include "app/layout.hpp"
#include "ui/qt/list_box.hpp"
#include "ui/qt/main_window.hpp"
#include "ui/qt/qt_text.hpp"

namespace proxylist {

QtControls::QtControls(MainWindow& window)
    : window_(&window),
      gui_thread_(QThread::currentThread()),
      gone_(std::make_shared<std::atomic<bool>>(false)) {
    const auto mark_gone = [gone = gone_] { gone->store(true); };
    QObject::connect(&window, &MainWindow::closed, mark_gone);
    QObject::connect(&window, &QObject::destroyed, mark_gone);
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QObject::connect(app, &QCoreApplication::aboutToQuit, &window, mark_gone);
    }
}

void QtControls::window_gone() noexcept {
    gone_->store(true);
}

template <typename Result, typename Action>
Result QtControls::on_gui_thread(Result fallback, Action action) {
    if (gone_->load()) {
        return fallback;
    }
    // Runs on the GUI thread, where the window is created and destroyed, so the check and
    // the use of the window cannot be torn apart.
    auto on_window = [this, &fallback, &action]() -> Result {
        if (gone_->load() || window_.isNull()) {
            return fallback;
        }
        return action(*window_);
    };
    if (QThread::currentThread() == gui_thread_) {
        return on_window();
    }
    // The application object lives as long as the process runs its event loop, unlike the
    // window, so a call posted to it can never reach a destroyed receiver. If the loop has
    // already ended the caller stays blocked, but the process then leaves without waiting.
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) {
        return fallback;
    }
    Result result = fallback;
    QMetaObject::invokeMethod(app, on_window, Qt::BlockingQueuedConnection, &result);
    return result;
}

Text QtControls::edit_text(ControlId edit_box) {
    // Converted on the calling thread; the GUI thread only copies the string out.
    const QString shown = on_gui_thread(QString(), [edit_box](MainWindow& window) -> QString {
        if (const ListBox* list = window.list_box(edit_box)) {
            return list->list_text();
        }
        if (const QLineEdit* line = window.line_edit(edit_box)) {
            return line->text();
        }
        return {};
    });
    return text_from_qstring(shown);
}

void QtControls::set_edit_text(ControlId edit_box, const Text& text) {
    const QString shown = qstring_from_text(text);
    on_gui_thread(false, [edit_box, &shown](MainWindow& window) {
        if (ListBox* list = window.list_box(edit_box)) {
            list->set_list_text(shown);
        } else if (QLineEdit* line = window.line_edit(edit_box)) {
            line->setText(shown);
            line->setCursorPosition(0);
        }
        return true;
    });
}

std::int32_t QtControls::combo_current_item(ControlId combo_box) {
    return on_gui_thread(std::int32_t{-1}, [combo_box](MainWindow& window) -> std::int32_t {
        const QComboBox* combo = window.combo_box(combo_box);
        return combo != nullptr ? combo->currentIndex() : -1;
    });
}

void QtControls::set_combo_current_item(ControlId combo_box, std::int32_t item) {
    on_gui_thread(false, [combo_box, item](MainWindow& window) {
        if (QComboBox* combo = window.combo_box(combo_box)) {
            combo->setCurrentIndex(combo_item_to_select(item, combo->count()));
        }
        return true;
    });
}

void QtControls::set_button_caption(ControlId button, const Text& caption) {
    const QString shown = qstring_from_text(caption);
    on_gui_thread(false, [button, &shown](MainWindow& window) {
        if (QPushButton* push_button = window.push_button(button)) {
            push_button->setText(shown);
        }
        return true;
    });
}

void QtControls::set_button_disabled(ControlId button, bool disabled) {
    on_gui_thread(false, [button, disabled](MainWindow& window) {
        if (QPushButton* push_button = window.push_button(button)) {
            push_button->setEnabled(!disabled);
        }
        return true;
    });
}

}  // namespace proxylist
