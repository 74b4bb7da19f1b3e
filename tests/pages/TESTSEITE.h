#pragma once

// A small output page for the dialog tests: a named widget with picture
// boxes of its own colours that records what the dialogs ask of it.

#include "pages/AUSGABESEITE.h"
#include "platform/controls/Forms.h"
#include "platform/controls/PictureBox.h"
#include "platform/runtime/System.h"

#include <QWidget>
#include <vector>

struct KONTEXTAUFRUF {
    bool HBOKF = false;
    bool HBOKFS = false;
    int32_t FARBEMDI = 0;
    int32_t FARBEPIC = 0;
    int mauszeiger = 0; // the mouse pointer while the page took the settings
};

class TESTSEITE : public QWidget, public AUSGABESEITE {
public:
    // A loaded page of that name with picture boxes of these colours.
    explicit TESTSEITE(const QString& name, const QList<int32_t>& bildfarben = {0xFFFFFF})
    {
        setObjectName(name);
        for (int32_t farbe : bildfarben) {
            auto* bild = new PictureBox(this);
            bild->SetBackColor(farbe);
            m_bilder.append(bild);
        }
        Forms::Load(this);
    }

    QWidget* FORMULAR() override { return this; }
    void DRUCKEN() override {}
    void KONTEXT(bool HBOKF, bool HBOKFS, int32_t FARBEMDI, int32_t FARBEPIC) override
    {
        kontexte.push_back({HBOKF, HBOKFS, FARBEMDI, FARBEPIC, MousePointer()});
    }
    QList<PictureBox*> BILDER() override { return m_bilder; }
    bool BILDZEICHNEN(int16_t bild) override
    {
        bilder.push_back(bild);
        return true;
    }

    std::vector<KONTEXTAUFRUF> kontexte;
    std::vector<int16_t> bilder;

private:
    QList<PictureBox*> m_bilder;
};
