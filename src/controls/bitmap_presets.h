#pragma once

#include "controls/bitmap_button.h"

#include <QList>

namespace vexo {

// A ready-made bitmap button: image at the left, caption at the right, and a one-image 16 x 16 list
// holding the command's picture (empty when the picture does not exist).
//
// A dialog places one where its resource had the button and names it after its handler:
//     auto *ok = new OKBMPBUTTON(this, QStringLiteral("Tamam "));
//     ok->setObjectName(QStringLiteral("PBTAMAM")); // the dialog, a NamedCommandOwner, registers PBTAMAM
struct BitmapPreset
{
    const char *name;
    const char *picture;
};

const QList<BitmapPreset> &bitmapPresets();
// The preset of that class name, or nullptr.
const BitmapPreset *findBitmapPreset(const QString &name);
void applyBitmapPreset(JOVBITMAPBUTTON *button, const BitmapPreset &preset);

#define VEXO_BITMAP_PRESET(Name)                                                                     \
    class Name : public JOVBITMAPBUTTON                                                              \
    {                                                                                                \
    public:                                                                                          \
        explicit Name(QWidget *owner = nullptr, const QString &caption = QString())                  \
            : JOVBITMAPBUTTON(owner, caption)                                                        \
        {                                                                                            \
            applyBitmapPreset(this, *findBitmapPreset(QStringLiteral(#Name)));                       \
        }                                                                                            \
    };

VEXO_BITMAP_PRESET(OKBMPBUTTON)
VEXO_BITMAP_PRESET(CANCELBMPBUTTON)
VEXO_BITMAP_PRESET(EKLEBMPBUTTON)
VEXO_BITMAP_PRESET(NOBMPBUTTON)
VEXO_BITMAP_PRESET(HELPBMPBUTTON)
VEXO_BITMAP_PRESET(RUNBMPBUTTON)
VEXO_BITMAP_PRESET(NRCBMPBUTTON)
VEXO_BITMAP_PRESET(CKTLBMPBUTTON)
VEXO_BITMAP_PRESET(STKBMPBUTTON)
VEXO_BITMAP_PRESET(HTANIBMPBUTTON)
VEXO_BITMAP_PRESET(COPKUTBMPBUTTON)
VEXO_BITMAP_PRESET(NOTEPADBMPBUTTON)
VEXO_BITMAP_PRESET(HMAKBMPBUTTON)
VEXO_BITMAP_PRESET(HSECBMPBUTTON)
VEXO_BITMAP_PRESET(HKALBMPBUTTON)
VEXO_BITMAP_PRESET(SEARCHBMPBUTTON)
VEXO_BITMAP_PRESET(BMCBMPBUTTON)
VEXO_BITMAP_PRESET(COARITBMPBUTTON)
VEXO_BITMAP_PRESET(FORMBMPBUTTON)
VEXO_BITMAP_PRESET(KAPIBMPBUTTON)
VEXO_BITMAP_PRESET(PRINTBMPBUTTON)
VEXO_BITMAP_PRESET(UDETAYBMPBUTTON)
VEXO_BITMAP_PRESET(AGBMPBUTTON)

#undef VEXO_BITMAP_PRESET

// Plain bitmap buttons under their own names: caption in the middle, no image list.
class SILBMPBUTTON : public JOVBITMAPBUTTON
{
public:
    using JOVBITMAPBUTTON::JOVBITMAPBUTTON;
};
class INTERPOLBMPBUTTON : public JOVBITMAPBUTTON
{
public:
    using JOVBITMAPBUTTON::JOVBITMAPBUTTON;
};

} // namespace vexo
