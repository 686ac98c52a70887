#include "ui/qt/accessibility.hpp"

#include <QAccessibleWidget>
#include <memory>

#include "ui/qt/main_window.hpp"

namespace proxylist {
namespace {

class MainWindowAccessible final : public QAccessibleWidget {
  public:
    explicit MainWindowAccessible(MainWindow* window)
        : QAccessibleWidget(window, QAccessible::Window) {}
    ~MainWindowAccessible() override = default;
};

// Qt's accessibility cache owns what this makes.
QAccessibleInterface* make_accessible(const QString& class_name, QObject* object) {
    if (class_name == QLatin1String(MainWindow::staticMetaObject.className())) {
        if (auto* window = qobject_cast<MainWindow*>(object)) {
            return std::make_unique<MainWindowAccessible>(window).release();
        }
    }
    return nullptr;
}

}  // namespace

void install_accessibility() {
    QAccessible::installFactory(make_accessible);
}

}  // namespace proxylist
