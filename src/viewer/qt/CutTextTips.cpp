#include "viewer/qt/CutTextTips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStyledItemDelegate>
#include <QToolTip>

namespace tavo {

namespace {

class CutTextTipDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip || !index.isValid() || !index.data(Qt::ToolTipRole).isNull())
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        // The text, with the item's margins, needs more than the cell has: the cell shows it cut off.
        if (sizeHint(option, index).width() > option.rect.width()) {
            QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view->viewport(),
                               option.rect);
            return true;
        }
        QToolTip::hideText();
        event->ignore();
        return false;
    }
};

}  // namespace

void showCutTextAsTips(QAbstractItemView& view)
{
    view.setItemDelegate(new CutTextTipDelegate(&view));
}

}  // namespace tavo
