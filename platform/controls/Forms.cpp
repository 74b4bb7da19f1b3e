#include "platform/controls/Forms.h"

#include <QMdiSubWindow>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace {

// Kept on the form itself, so that they go with it.
constexpr char kBusy[] = "_Forms_busy";
constexpr char kClosed[] = "_Forms_closed";

QList<QPointer<QWidget>>& Loaded()
{
    static QList<QPointer<QWidget>> forms;
    return forms;
}

void Prune()
{
    Loaded().removeIf([](const QPointer<QWidget>& form) { return form.isNull(); });
}

// The window that closes and goes: a child window's MDI frame, or the form.
QWidget* Window(QWidget* form)
{
    if (auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget())) return sub;
    return form;
}

// The form's window goes once the event loop comes round. A window without
// a parent (the main window) belongs to the code that made it and stays.
void Release(QWidget* form)
{
    QWidget* window = Window(form);
    if (window->parentWidget()) window->deleteLater();
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
    if (!Window(form)->close()) return false;
    Closed(form);
    return true;
}

void Closed(QWidget* form)
{
    if (!form || form->property(kClosed).toBool()) return;
    form->setProperty(kClosed, true);
    Loaded().removeIf([form](const QPointer<QWidget>& loaded) { return loaded == form; });
    // Deleted under its running code, the form would take that code's
    // objects with it: the last Busy deletes it instead.
    if (!IsBusy(form)) Release(form);
}

Busy::Busy(QWidget* form) : m_form(form)
{
    if (form) form->setProperty(kBusy, form->property(kBusy).toInt() + 1);
}

Busy::~Busy()
{
    if (!m_form) return;
    const int busy = m_form->property(kBusy).toInt() - 1;
    m_form->setProperty(kBusy, busy > 0 ? QVariant(busy) : QVariant());
    if (busy <= 0 && m_form->property(kClosed).toBool()) Release(m_form);
}

bool IsBusy(const QWidget* form)
{
    return form && form->property(kBusy).toInt() > 0;
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

bool IsLoaded(const QWidget* form)
{
    if (!form) return false;
    for (const auto& loaded : Loaded())
        if (loaded == form) return true;
    return false;
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
