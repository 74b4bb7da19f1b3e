#include "shell/frmAUSWAHL.h"

#include "data/HAUPTFENSTER.h"
#include "evaluation/AUSWERTUNGSBEFEHLE.h"
#include "platform/database/Connection.h"
#include "platform/runtime/ErrorHandler.h"
#include "platform/runtime/MsgBox.h"
#include "platform/database/Recordset.h"
#include "platform/database/Sql.h"
#include "platform/runtime/System.h"
#include "platform/database/Transaction.h"
#include "platform/runtime/Variant.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <functional>
#include <optional>
#include <utility>

namespace {

const QString kVbError = QStringLiteral("VB-Error: ");

// Restores a flag when the scope ends, whichever way it ends.
class Merker {
public:
    explicit Merker(bool& flag) : m_flag(flag), m_alt(flag) { m_flag = true; }
    ~Merker() { m_flag = m_alt; }
    Merker(const Merker&) = delete;
    Merker& operator=(const Merker&) = delete;

private:
    bool& m_flag;
    bool m_alt;
};

// The list of identifiers. Its type-ahead (typing the start of an
// identifier) moves to the record the typed text names and changes no
// choice itself: what it means for the choice depends on the mode, which
// the dialog decides once the list has moved.
class KENLISTE : public QListWidget {
public:
    KENLISTE(QWidget* parent, std::function<void()> getippt)
        : QListWidget(parent), m_getippt(std::move(getippt)) {}

    void keyboardSearch(const QString& search) override {
        m_suche = true;
        m_gefunden = false;
        QListWidget::keyboardSearch(search);
        m_suche = false;
        // Typed text that names no record changes nothing.
        if (m_gefunden) m_getippt();
    }

protected:
    // The search moves to what it found. In a list of several choices that
    // move would also add or take away the record.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override {
        if (!m_suche) return QListWidget::selectionCommand(index, event);
        m_gefunden = true;
        return QItemSelectionModel::NoUpdate;
    }

private:
    std::function<void()> m_getippt;
    bool m_suche = false;
    mutable bool m_gefunden = false;
};

}  // namespace

frmAUSWAHL::frmAUSWAHL(QWidget* parent) : QDialog(parent ? parent : frmMAIN().FENSTER())
{
    setObjectName(QStringLiteral("frmAUSWAHL"));
    setModal(true);

    lstKEN = new KENLISTE(this, [this] { lstKEN_Getippt(); });
    lstKEN->setObjectName(QStringLiteral("lstKEN"));
    // Every click adds an entry to the choice or takes it away.
    lstKEN->setSelectionMode(QAbstractItemView::MultiSelection);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAutoDefault(false);
    cmdABBRECHEN = new QPushButton(QStringLiteral("Abbrechen"), this);
    cmdABBRECHEN->setObjectName(QStringLiteral("cmdABBRECHEN"));
    cmdABBRECHEN->setAutoDefault(false);
    lblHINWEIS = new QLabel(this);
    lblHINWEIS->setObjectName(QStringLiteral("lblHINWEIS"));
    lblHINWEIS->setWordWrap(true);
    lblHINWEIS->hide();

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(cmdOK);
    knoepfe->addWidget(cmdABBRECHEN);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lstKEN);
    layout->addWidget(lblHINWEIS);
    layout->addLayout(knoepfe);
    resize(280, 360);

    lstKEN->installEventFilter(this);
    lstKEN->viewport()->installEventFilter(this);
    connect(lstKEN, &QListWidget::itemSelectionChanged, this, &frmAUSWAHL::lstKEN_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAUSWAHL::cmdOK_Click);
    connect(cmdABBRECHEN, &QPushButton::clicked, this, &frmAUSWAHL::cmdABBRECHEN_Click);
    m_tippzeit.setSingleShot(true);
    connect(&m_tippzeit, &QTimer::timeout, this, [this] { GETIPPTPRUEFEN(); });

    Form_Load();
}

frmAUSWAHL::~frmAUSWAHL()
{
    // The list goes after this object's own part: no late selection signal
    // may reach it.
    lstKEN->disconnect(this);
    lstKEN->viewport()->removeEventFilter(this);
    lstKEN->removeEventFilter(this);
}

bool frmAUSWAHL::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == lstKEN && ereignis->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(ereignis)->matches(QKeySequence::SelectAll))
        return true;
    if (objekt == lstKEN->viewport() && ereignis->type() == QEvent::MouseMove &&
        static_cast<QMouseEvent*>(ereignis)->buttons() != Qt::NoButton)
        return true;
    return QDialog::eventFilter(objekt, ereignis);
}

int32_t frmAUSWAHL::ID(const QListWidgetItem* item) { return item ? item->data(Qt::UserRole).toInt() : 0; }

QString frmAUSWAHL::ueberschrift() const
{
    const bool englisch = frmMAIN().SPRACHE() == 1;
    if (m_modus == QLatin1String("O")) return englisch ? QStringLiteral("File/Open") : QStringLiteral("Datei/Öffnen");
    if (m_modus == QLatin1String("A")) return englisch ? QStringLiteral("File/Select") : QStringLiteral("Datei/Auswahl");
    if (m_modus == QLatin1String("L")) return englisch ? QStringLiteral("File/Delete") : QStringLiteral("Datei/Löschen");
    if (m_modus == QLatin1String("E"))
        return englisch ? QStringLiteral("File/Export Inf.system") : QStringLiteral("Datei/Export Inf.system");
    return QStringLiteral("Auswahl");
}

void frmAUSWAHL::Form_Load()
{
    m_laden = true;
    m_modus = frmMAIN().AUSWAHLMODUS();
    setWindowTitle(ueberschrift());
    if (frmMAIN().SPRACHE() == 1) cmdABBRECHEN->setText(QStringLiteral("Cancel"));
    SetMousePointer(vbHourglass);

    ErrorHandler eh(kVbError, windowTitle());
    std::optional<Recordset> rs;
    if (eh.Run([&] {
            rs.emplace(QStringLiteral("SELECT * FROM [E1] WHERE ID>0 ORDER BY [KEN]"), *frmMAIN().DBPROJEKT());
        })) {
        // In mode "O" only the first active record is chosen.
        const bool einzeln = m_modus == QLatin1String("O");
        bool gewaehlt = false;
        while (!eh.Left() && !rs->Eof()) {
            // A record without identifier cannot be listed (the box says
            // so); the rest of its row is not taken either.
            std::optional<QString> ken;
            std::optional<int32_t> id;
            if (eh.Run([&] {
                    ken = CStr(rs->Value(QStringLiteral("KEN")));
                    id = CLng(rs->Value(QStringLiteral("ID")));
                })) {
                auto* item = new QListWidgetItem(*ken);
                item->setData(Qt::UserRole, *id);
                lstKEN->addItem(item);
                m_kom.emplace_back();
                eh.Run([&] {
                    const QVariant kom = rs->Value(QStringLiteral("KOM"));
                    if (!IsNull(kom)) m_kom.back() = CStr(kom);
                });
                eh.Run([&] {
                    if (CBool(rs->Value(QStringLiteral("AKT"))) && !(einzeln && gewaehlt)) {
                        item->setSelected(true);
                        m_vorgewaehlt.insert(*id);
                        // The list opens with the first chosen record in
                        // view, however far down it is (the list scrolls to
                        // its current entry when shown); the choice itself
                        // stays as it is.
                        if (!gewaehlt) lstKEN->setCurrentItem(item, QItemSelectionModel::NoUpdate);
                        gewaehlt = true;
                    }
                });
            }
            if (!eh.Run([&] { rs->MoveNext(); })) break;
        }
        eh.Run([&] { rs->Close(); });
    }

    if (!eh.Left()) {
        const QRect haupt = frmMAIN().GEOMETRIE();
        move(haupt.x() + haupt.width() / 5, haupt.y() + (haupt.height() - height()) / 3);
    }
    // Also after Cancel in the error box: the click rules must apply to
    // whatever the list holds.
    SetMousePointer(vbDefault);
    m_laden = false;
    HINWEISZEIGEN();
}

void frmAUSWAHL::lstKEN_Click()
{
    if (m_laden || m_selbst) return;
    QListWidgetItem* item = lstKEN->currentItem();
    if (!item) return;
    // A click ends the typing: the typed record is judged first.
    if (m_tippzeit.isActive()) GETIPPTPRUEFEN();
    PRUEFEN(item);
}

bool frmAUSWAHL::PRUEFEN(QListWidgetItem* item)
{
    const int position = lstKEN->row(item);
    // The user's own choice now, whatever the rules make of it.
    m_vorgewaehlt.remove(ID(item));
    ErrorHandler eh(kVbError, windowTitle());
    const auto abwaehlen = [&] {
        Merker selbst(m_selbst);
        item->setSelected(false);
    };

    if (m_modus == QLatin1String("O")) {
        if (lstKEN->selectedItems().size() > 1) {
            abwaehlen();
            // A click that changes nothing visible would leave the user
            // guessing: the rule says why.
            QListWidgetItem* gewaehlt = lstKEN->selectedItems().value(0);
            const QString ken = gewaehlt->text();
            lblHINWEIS->setText(
                frmMAIN().SPRACHE() == 1
                    ? ken + QStringLiteral(" is chosen. To choose another file, first click ") + ken +
                          QStringLiteral(" to deselect it.")
                    : QString::fromUtf8("Gewählt ist ") + ken +
                          QString::fromUtf8(". Um einen anderen Datensatz zu wählen, klicken Sie "
                                            "zuerst auf ") +
                          ken + QString::fromUtf8(", um diese Wahl aufzuheben."));
            lblHINWEIS->show();
            // The hint takes room from the list: the chosen record stays in
            // view, ready to be clicked away.
            layout()->activate();
            lstKEN->scrollToItem(gewaehlt);
        } else {
            lblHINWEIS->hide();
        }
    } else if (m_modus == QLatin1String("A") || m_modus == QLatin1String("E")) {
        const int schwelle = m_modus == QLatin1String("A") ? 2 : 1;
        if (lstKEN->selectedItems().size() >= schwelle) {
            // A record still to be evaluated on its own cannot join a choice
            // of several (nor be exported).
            bool offen = false;
            const bool geprueft = eh.Run([&] {
                offen = !AUSWERTUNG::OHNEERGEBNIS(QStringLiteral("[E1].[ID]=") +
                                                  SqlNumber(int(ID(item))))
                             .isEmpty();
            });
            if (eh.Left()) {
                HINWEISZEIGEN();
                return false;
            }
            if (geprueft && offen) {
                MsgBox(AUSWERTUNG::ZUERSTEINZELN(item->text()), vbOKOnly + vbExclamation,
                       windowTitle());
                abwaehlen();
                HINWEISZEIGEN();
                return false;
            }
        }
    }

    KOMMENTARZEIGEN(position);
    HINWEISZEIGEN();
    return true;
}

void frmAUSWAHL::lstKEN_Getippt() {
    if (m_laden) return;
    QListWidgetItem* item = lstKEN->currentItem();
    if (!item) return;
    // In File, Open the typed identifier is the record to open: it takes
    // the place of the choice so far.
    if (m_modus == QLatin1String("O")) {
        {
            Merker selbst(m_selbst);
            for (QListWidgetItem* gewaehlt : lstKEN->selectedItems())
                if (gewaehlt != item) gewaehlt->setSelected(false);
            item->setSelected(true);
        }
        lblHINWEIS->hide();
        KOMMENTARZEIGEN(lstKEN->row(item));
        return;
    }
    // In the other modes the typed record joins the choice. While the user
    // types on, the choice follows the search: a record the search passed
    // on its way ("T" finds T-A before "T-C" finds T-C) returns to what it
    // was. A record chosen only because it was active when the list opened
    // goes: typing names what the user means, and OK must never delete a
    // record the user did not choose.
    {
        Merker selbst(m_selbst);
        const bool weiter = m_tippzeit.isActive() && m_getippt;
        if (weiter && m_getippt != item && !m_getipptVorher) m_getippt->setSelected(false);
        if (!weiter || m_getippt != item) {
            m_getippt = item;
            m_getipptVorher = item->isSelected() && !m_vorgewaehlt.contains(ID(item));
        }
        for (QListWidgetItem* gewaehlt : lstKEN->selectedItems())
            if (m_vorgewaehlt.contains(ID(gewaehlt))) gewaehlt->setSelected(false);
        m_vorgewaehlt.clear();
        item->setSelected(true);
    }
    // The rules of the mode judge the typed record once the typing ends, so
    // that no record the search only passed is refused with a box.
    m_tippzeit.start(QApplication::keyboardInputInterval());
    KOMMENTARZEIGEN(lstKEN->row(item));
    HINWEISZEIGEN();
}

void frmAUSWAHL::KOMMENTARZEIGEN(int position) {
    if (position >= 0 && size_t(position) < m_kom.size())
        lstKEN->setToolTip(m_kom[size_t(position)]);
}

bool frmAUSWAHL::GETIPPTPRUEFEN() {
    m_tippzeit.stop();
    QListWidgetItem* item = m_getippt;
    m_getippt = nullptr;
    if (!item || m_getipptVorher || !item->isSelected()) return true;
    return PRUEFEN(item);
}

void frmAUSWAHL::HINWEISZEIGEN() {
    if (m_modus == QLatin1String("O")) return;
    const bool englisch = frmMAIN().SPRACHE() == 1;
    // At most this many names; the rest are counted.
    constexpr int kNamen = 8;
    // In the list's own order, not the order of the clicks.
    QStringList namen;
    int weitere = 0;
    for (int position = 0; position < lstKEN->count(); ++position) {
        const QListWidgetItem* item = lstKEN->item(position);
        if (!item->isSelected()) continue;
        if (namen.size() == kNamen) {
            ++weitere;
            continue;
        }
        namen << item->text() +
                     (m_vorgewaehlt.contains(ID(item))
                          ? (englisch ? QStringLiteral(" (active when the list opened)")
                                      : QString::fromUtf8(" (beim Öffnen der Liste aktiv)"))
                          : QString());
    }
    QString was;
    if (m_modus == QLatin1String("L"))
        was = englisch ? QStringLiteral("OK deletes") : QString::fromUtf8("OK löscht");
    else if (m_modus == QLatin1String("E"))
        was = englisch ? QStringLiteral("OK exports") : QString::fromUtf8("OK exportiert");
    else
        was = englisch ? QStringLiteral("OK chooses") : QString::fromUtf8("OK wählt");
    QString text;
    if (namen.isEmpty())
        text = was + (englisch ? QStringLiteral(" nothing: no file is chosen.")
                               : QString::fromUtf8(" nichts: kein Datensatz ist gewählt."));
    else
        text = was + QStringLiteral(": ") + namen.join(QStringLiteral(", ")) +
               (weitere ? (englisch ? QStringLiteral(" and %1 more").arg(weitere)
                                    : QString::fromUtf8(" und %1 weitere").arg(weitere))
                        : QString()) +
               QStringLiteral(".");
    lblHINWEIS->setText(text);
    lblHINWEIS->show();
}

void frmAUSWAHL::cmdOK_Click()
{
    // OK acts on what the words below the list name: a typed record the
    // rules refuse stops it, the box having said why.
    if (m_tippzeit.isActive() && !GETIPPTPRUEFEN()) return;
    SetMousePointer(vbHourglass);
    ErrorHandler eh(kVbError, windowTitle());
    std::optional<Transaction> transaktion;
    std::shared_ptr<Connection> verbindung;
    eh.Run([&] {
        // The choice is all this writes: where the copy went from under the
        // run, it is written into the run's own file rather than refused.
        frmMAIN().AUSWAHLVORBEREITEN();
        verbindung = frmMAIN().DBPROJEKT();
        transaktion.emplace(*verbindung);
    });
    // The choice of every listed record, by its ID.
    for (int position = 0; position < lstKEN->count() && !eh.Left() && verbindung; ++position) {
        const QListWidgetItem* item = lstKEN->item(position);
        eh.Run([&] {
            verbindung->Execute(QStringLiteral("UPDATE [E1] SET [AKT]=") + SqlBool(item->isSelected()) +
                                QStringLiteral(" WHERE [ID]=") + SqlNumber(int(ID(item))));
        });
    }
    // A choice that did not reach the database must not be answered "OK".
    const bool gespeichert = !eh.Left() && transaktion && eh.Run([&] { transaktion->Commit(); });
    if (!gespeichert) {
        // Nothing is stored and the dialog stays open.
        transaktion.reset();
        SetMousePointer(vbDefault);
        return;
    }
    frmMAIN().SETZEAUSWAHLMODUS(QStringLiteral("OK"));
    accept();
    SetMousePointer(vbDefault);
}

void frmAUSWAHL::cmdABBRECHEN_Click()
{
    frmMAIN().SETZEAUSWAHLMODUS(QStringLiteral("Abbrechen"));
    reject();
}
