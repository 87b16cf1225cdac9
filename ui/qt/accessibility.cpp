// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include "ui/qt/form_widget.h"
#include "ui/qt/live_label.h"

namespace styrmark::toolkit {
namespace {

// Qt's own label interface is private; a notification needs only its role and caption.
class LiveLabelAccessible : public QAccessibleWidget {
public:
    explicit LiveLabelAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::Notification) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name) return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(kind);
    }

    // Screen readers present a notification by the caption that labels it, if any, instead
    // of its own text: the caption still names what it heads, but not the other way round.
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override {
        return QAccessibleWidget::relations(match & ~QAccessible::Label);
    }
};

// A plain top-level QWidget would be a "filler" without a title for screen readers.
QAccessibleInterface* Interface(const QString& /*className*/, QObject* object) {
    if (auto* label = qobject_cast<LiveLabel*>(object)) return new LiveLabelAccessible(label);
    if (auto* form = qobject_cast<FormWidget*>(object))
        return new QAccessibleWidget(form, QAccessible::Window);
    return nullptr;
}

}  // namespace

void InstallAccessibility() {
    static const bool installed = (QAccessible::installFactory(Interface), true);
    (void)installed;
}

void PresentNotification(QWidget* liveLabel) {
    QAccessibleEvent shown(liveLabel, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace styrmark::toolkit
