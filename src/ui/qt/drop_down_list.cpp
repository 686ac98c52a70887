#include "ui/qt/drop_down_list.hpp"

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "ui/qt/box_colours.hpp"
#include "ui/qt/qt_text.hpp"

namespace proxylist {
namespace {

QStringList item_texts(const ComboBoxSettings& settings) {
    QStringList items;
    for (const std::string_view item : settings.items) {
        items.append(qstring_from_utf8(item));
    }
    if (settings.sorted) {
        // As the user's language sorts them, like the window system's sorted lists.
        std::stable_sort(items.begin(), items.end(), [](const QString& a, const QString& b) {
            return QString::localeAwareCompare(a, b) < 0;
        });
    }
    return items;
}

}  // namespace

QSize TallerItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    return QStyledItemDelegate::sizeHint(option, index) + QSize(0, extra_height_);
}

DropDownList::DropDownList(const ComboBoxSettings& settings, QWidget* parent)
    : QComboBox(parent),
      item_delegate_(settings.extra_item_height),
      height_with_list_(settings.height_with_list) {
    setEditable(settings.editable);
    setInsertPolicy(QComboBox::NoInsert);
    addItems(item_texts(settings));
    setCurrentIndex(settings.current_item);
    setItemDelegate(&item_delegate_);
    view()->setVerticalScrollBarPolicy(settings.list_scroll_bars == ScrollBars::vertical
                                           ? Qt::ScrollBarAsNeeded
                                           : Qt::ScrollBarAlwaysOff);
    view()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    const QColor text = qcolor(settings.text_colour);
    const QColor background = qcolor(settings.background);
    QPalette palette = this->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::Base, background);
    }
    setPalette(palette);
    view()->setPalette(palette);
}

DropDownList::~DropDownList() {
    // The view must not reach for the delegate while the combo box takes itself apart.
    view()->setItemDelegate(nullptr);
}

int DropDownList::open_list_room() const {
    return std::max(height_with_list_ - height(), 0);
}

void DropDownList::showPopup() {
    QComboBox::showPopup();
    QWidget* list = view()->parentWidget();
    if (list == nullptr || !list->isWindow() || list->height() <= open_list_room()) {
        return;
    }
    // Qt sizes the open list to its items; a longer list drops down into the room the layout
    // gives it, under the box or, where the screen ends, above it, and scrolls.
    const QRect field(mapToGlobal(QPoint(0, 0)), size());
    const QScreen* screen = this->screen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect();
    const int room = open_list_room();
    QRect placed(list->x(), field.bottom() + 1, list->width(), room);
    if (area.isValid() && placed.bottom() > area.bottom() && field.top() - room >= area.top()) {
        placed.moveBottom(field.top() - 1);
    }
    list->setGeometry(placed);
    view()->scrollTo(view()->currentIndex(), QAbstractItemView::EnsureVisible);
}

}  // namespace proxylist
