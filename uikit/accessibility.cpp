#include "uikit/accessibility.h"

#include <QAccessible>
#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QFocusFrame>
#include <QLabel>
#include <QLineEdit>
#include <QVariant>

namespace uikit {

namespace {

constexpr char SilentKey[] = "kyusei_silent";
constexpr char QuietParentKey[] = "kyusei_quiet_parent";
constexpr char NamedComboKey[] = "kyusei_named_combo";

// Hidden, marked silent, or a label with nothing to say (a lucky slot of a
// reading with fewer lucky stars).
bool isSilent(const QWidget* w)
{
    if (w->isHidden() || w->property(SilentKey).toBool()) {
        return true;
    }
    const auto* label = qobject_cast<const QLabel*>(w);
    return label && label->text().isEmpty() && label->accessibleName().isEmpty();
}

// A widget with silent children: a screen reader finds the others only. Qt's
// own accessible lists every child widget, hidden ones too.
class QuietParentAccessible final : public QAccessibleWidget {
public:
    explicit QuietParentAccessible(QWidget* w) : QAccessibleWidget(w, w->isWindow() ? QAccessible::Window : QAccessible::Client) {}

    int childCount() const override { return static_cast<int>(spokenChildren().size()); }

    QAccessibleInterface* child(int index) const override
    {
        const QList<QWidget*> children = spokenChildren();
        return index >= 0 && index < children.size() ? QAccessible::queryAccessibleInterface(children[index]) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child || !child->object()) {
            return -1;
        }
        return static_cast<int>(spokenChildren().indexOf(qobject_cast<QWidget*>(child->object())));
    }

private:
    QList<QWidget*> spokenChildren() const
    {
        QList<QWidget*> spoken;
        for (QObject* o : widget()->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (w && !w->isWindow() && !qobject_cast<QFocusFrame*>(w) && !isSilent(w)) {
                spoken.append(w);
            }
        }
        return spoken;
    }
};

// A drop-down list read by its accessible name; its value is its text.
class NamedComboAccessible final : public QAccessibleWidget {
public:
    explicit NamedComboAccessible(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value) {
            return combo()->currentText();
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = combo()->view()->isVisible();
        s.collapsed = !s.expanded;
        s.editable = combo()->isEditable();
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{QAccessibleActionInterface::showMenuAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action == QAccessibleActionInterface::showMenuAction()) {
            combo()->showPopup();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

private:
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* accessibleFor(const QString& className, QObject* object)
{
    auto* w = qobject_cast<QWidget*>(object);
    // Asked once for each class from the object's own up to QObject: answer
    // only for the object's own class, and leave every other widget to Qt.
    if (!w || className != QLatin1String(object->metaObject()->className())) {
        return nullptr;
    }
    if (w->property(QuietParentKey).toBool()) {
        return new QuietParentAccessible(w);
    }
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->property(NamedComboKey).toBool()) {
        return new NamedComboAccessible(combo);
    }
    return nullptr;
}

void installAccessibleFactory()
{
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        return true;
    }();
    (void)installed;
}

// Marks `w` for one of the accessibles above. Qt makes a widget's accessible
// for the first change it reports, which may come before the mark (a drop-down
// list reports its first item), and keeps it; such a one is dropped, so that
// the next question gets the marked kind.
template <class Accessible>
void markFor(QWidget* w, const char* key)
{
    installAccessibleFactory();
    w->setProperty(key, true);
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(w);
    if (made && !dynamic_cast<Accessible*>(made)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

}  // namespace

void setSilent(QWidget* widget)
{
    widget->setProperty(SilentKey, true);
    if (QWidget* parent = widget->parentWidget()) {
        markFor<QuietParentAccessible>(parent, QuietParentKey);
    }
}

void setComboName(QComboBox* combo, const QString& name)
{
    markFor<NamedComboAccessible>(combo, NamedComboKey);
    combo->setAccessibleName(name);
    if (QLineEdit* edit = combo->lineEdit()) {
        edit->setAccessibleName(name);
    }
}

}  // namespace uikit
