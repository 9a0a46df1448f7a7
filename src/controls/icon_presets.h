#pragma once

#include "controls/icon_push_button.h"

#include <QList>

namespace vexo {

// One ready-made icon push button: the pictures of its normal, pressed and disabled face (nullptr
// where it has none).
struct IconPreset
{
    const char *name;
    const char *up;
    const char *down;
    const char *disabled;
};

const QList<IconPreset> &iconPresets();
// The preset of that class name, or nullptr.
const IconPreset *findIconPreset(const QString &name);
// Gives the button the preset's icons, in the order up, down, disabled.
void applyIconPreset(ICONPUSHBUTTON *button, const IconPreset &preset);

// The presets as classes, so that a dialog names the button it wants: OKPUSHBUTTON(dialog).
#define VEXO_ICON_PRESET(Name)                                                                       \
    class Name : public ICONPUSHBUTTON                                                               \
    {                                                                                                \
    public:                                                                                          \
        explicit Name(QWidget *owner = nullptr, const QString &caption = QString())                  \
            : ICONPUSHBUTTON(owner, caption)                                                         \
        {                                                                                            \
            applyIconPreset(this, *findIconPreset(QStringLiteral(#Name)));                           \
        }                                                                                            \
    };

VEXO_ICON_PRESET(OKPUSHBUTTON)
VEXO_ICON_PRESET(CANCELPUSHBUTTON)
VEXO_ICON_PRESET(NOPUSHBUTTON)
VEXO_ICON_PRESET(HELPPUSHBUTTON)
VEXO_ICON_PRESET(COLORPBUTTON)
VEXO_ICON_PRESET(BMCPBUTTON)
VEXO_ICON_PRESET(URTDETAYPBUTTON)
VEXO_ICON_PRESET(RUNPUSHBUTTON)
VEXO_ICON_PRESET(SILPUSHBUTTON)
VEXO_ICON_PRESET(NRCPUSHBUTTON)
VEXO_ICON_PRESET(CKTLPUSHBUTTON)
VEXO_ICON_PRESET(STKPUSHBUTTON)
VEXO_ICON_PRESET(HTANIPUSHBUTTON)
VEXO_ICON_PRESET(FORMPBUTTON)
VEXO_ICON_PRESET(COARITMEPBUTTON)
VEXO_ICON_PRESET(INTERPOLPBUTTON)
VEXO_ICON_PRESET(ARGIRPBUTTON)
VEXO_ICON_PRESET(KAPIPBUTTON)
VEXO_ICON_PRESET(COPKUTPUSHBUTTON)
VEXO_ICON_PRESET(PRINTERPBUTTON)
VEXO_ICON_PRESET(NOTEPADPUSHBUTTON)
VEXO_ICON_PRESET(HMAKPUSHBUTTON)
VEXO_ICON_PRESET(HSECPUSHBUTTON)
VEXO_ICON_PRESET(HKALPUSHBUTTON)
VEXO_ICON_PRESET(SEARCHPBUTTON)
VEXO_ICON_PRESET(EKLEPBUTTON)
VEXO_ICON_PRESET(MEKOANALPBUTTON)
VEXO_ICON_PRESET(BHAMMADPBUTTON)
VEXO_ICON_PRESET(RAPORALPBUTTON)
VEXO_ICON_PRESET(AMDONPBUTTON)
VEXO_ICON_PRESET(NONOPUSHBUTTON)
VEXO_ICON_PRESET(KAYDETPBUTTON)
VEXO_ICON_PRESET(ORANPUSHBUTTON)
VEXO_ICON_PRESET(GRPPUSHBUTTON)
VEXO_ICON_PRESET(GBELIRPUSHBUTTON)

#undef VEXO_ICON_PRESET

} // namespace vexo
