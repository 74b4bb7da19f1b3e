#include "platform/controls/Forms.h"

#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace {

QList<QPointer<QWidget>>& Loaded()
{
    static QList<QPointer<QWidget>> forms;
    return forms;
}

void Prune()
{
    Loaded().removeIf([](const QPointer<QWidget>& form) { return form.isNull(); });
}

} // namespace

namespace Forms {

void Load(QWidget* form)
{
    if (!form) return;
    Prune();
    for (const auto& loaded : Loaded())
        if (loaded == form) return;
    Loaded().append(form);
}

bool Unload(QWidget* form)
{
    if (!form) return false;
    QWidget* window = form;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget())) window = sub;
    if (!window->close()) return false;
    Loaded().removeIf([form](const QPointer<QWidget>& loaded) { return loaded == form; });
    window->deleteLater();
    return true;
}

QList<QWidget*> All()
{
    Prune();
    QList<QWidget*> forms;
    for (const auto& form : Loaded()) forms.append(form.data());
    return forms;
}

int Count()
{
    return static_cast<int>(All().size());
}

QString Name(const QWidget* form)
{
    return form ? form->objectName() : QString();
}

bool IsMdiChild(const QWidget* form)
{
    return form && qobject_cast<const QMdiSubWindow*>(form->parentWidget()) != nullptr;
}

QWidget* Find(const QString& name)
{
    for (QWidget* form : All())
        if (form->objectName().compare(name, Qt::CaseInsensitive) == 0) return form;
    return nullptr;
}

} // namespace Forms
