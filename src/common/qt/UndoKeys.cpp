#include "common/qt/UndoKeys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QObject>
#include <QShortcut>
#include <QWidget>

#include <array>

namespace tavo {

namespace {

const std::array<QKeySequence, 3>& undoKeys()
{
    static const std::array<QKeySequence, 3> keys = {
        QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    return keys;
}

// Declines the field's claim on the undo keys, so the window's shortcuts see them.
class UndoKeysToWindow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            auto* key = static_cast<QKeyEvent*>(event);
            const QKeySequence pressed(key->keyCombination());
            for (const QKeySequence& undo : undoKeys()) {
                if (pressed == undo) {
                    event->ignore();
                    return true;
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void addUndoKeys(QWidget* window, std::function<void()> undo, std::function<void()> redo)
{
    const auto& keys = undoKeys();
    QObject::connect(new QShortcut(keys[0], window), &QShortcut::activated, window, undo);
    for (std::size_t k = 1; k < keys.size(); ++k)
        QObject::connect(new QShortcut(keys[k], window), &QShortcut::activated, window, redo);
}

void leaveUndoKeysToWindow(QWidget* field)
{
    field->installEventFilter(new UndoKeysToWindow(field));
}

void addTextUndoKeys(QWidget* dialog)
{
    auto onFocusedField = [dialog](bool redo) {
        QWidget* focused = dialog->focusWidget();
        if (auto* line = qobject_cast<QLineEdit*>(focused))
            redo ? line->redo() : line->undo();
        else if (auto* text = qobject_cast<QPlainTextEdit*>(focused))
            redo ? text->redo() : text->undo();
    };
    addUndoKeys(
        dialog, [onFocusedField] { onFocusedField(false); }, [onFocusedField] { onFocusedField(true); });
}

}  // namespace tavo
