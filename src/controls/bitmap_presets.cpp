#include "controls/bitmap_presets.h"

#include "resources/resource_library.h"

namespace vexo {

const QList<BitmapPreset> &bitmapPresets()
{
    // Picture names as the pictures are spelled; the lookup ignores case. YMEkle and UrtDetay are
    // pictures the program does not carry: those buttons show their caption only.
    static const QList<BitmapPreset> presets{
        {"OKBMPBUTTON", "ICOOKUP"},         {"CANCELBMPBUTTON", "ICOCANCELUP"},
        {"EKLEBMPBUTTON", "YMEkle"},        {"NOBMPBUTTON", "ICONOUP"},
        {"HELPBMPBUTTON", "ICOHELPUP"},     {"RUNBMPBUTTON", "RunRun"},
        {"NRCBMPBUTTON", "COWCOW"},         {"CKTLBMPBUTTON", "CKATILIM"},
        {"STKBMPBUTTON", "STKUP"},          {"HTANIBMPBUTTON", "HTANIUP"},
        {"COPKUTBMPBUTTON", "COPKUTUUP"},   {"NOTEPADBMPBUTTON", "greenNotepad"},
        {"HMAKBMPBUTTON", "HESMAK"},        {"HSECBMPBUTTON", "HepSecUp"},
        {"HKALBMPBUTTON", "HepKalUp"},      {"SEARCHBMPBUTTON", "Search"},
        {"BMCBMPBUTTON", "BmMuht"},         {"COARITBMPBUTTON", "COARITMEUP"},
        {"FORMBMPBUTTON", "FORMUP"},        {"KAPIBMPBUTTON", "KAPIUP"},
        {"PRINTBMPBUTTON", "PRINTERUP"},    {"UDETAYBMPBUTTON", "UrtDetay"},
        {"AGBMPBUTTON", "ARGIRUP"},
    };
    return presets;
}

const BitmapPreset *findBitmapPreset(const QString &name)
{
    for (const BitmapPreset &preset : bitmapPresets())
        if (name.compare(QLatin1String(preset.name), Qt::CaseInsensitive) == 0)
            return &preset;
    return nullptr;
}

void applyBitmapPreset(JOVBITMAPBUTTON *button, const BitmapPreset &preset)
{
    button->setCaptionPos(CaptionPos::RIGHT);
    BitmapImageList list; // 16 x 16, room for one
    const QString picture = QString::fromLatin1(preset.picture);
    if (ResourceLibrary::contains(picture))
        list.images << ResourceLibrary::icon(picture);
    button->setImageList(list);
}

} // namespace vexo
