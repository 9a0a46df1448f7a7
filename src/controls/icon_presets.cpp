#include "controls/icon_presets.h"

#include "resources/resource_library.h"

namespace vexo {

const QList<IconPreset> &iconPresets()
{
    // Picture names as the pictures are spelled; the lookup ignores case.
    static const QList<IconPreset> presets{
        {"OKPUSHBUTTON", "ICOOKUP", "ICOOKDOWN", "ICOOKDISABLED"},
        {"CANCELPUSHBUTTON", "ICOCANCELUP", "ICOCANCELDOWN", nullptr},
        {"NOPUSHBUTTON", "ICONOUP", "ICONODOWN", "ICONODISABLED"},
        {"HELPPUSHBUTTON", "ICOHELPUP", "ICOHELPDOWN", "ICOHELPDISABLED"},
        {"COLORPBUTTON", "YMEkle", "YMEkleDown", nullptr},
        {"BMCPBUTTON", "BmMuht", "BmMuhtDown", nullptr},
        {"URTDETAYPBUTTON", "UrtDetay", "UrtDetayDown", nullptr},
        {"RUNPUSHBUTTON", "RunRun", "RunRunDown", "RunRunDisable"},
        {"SILPUSHBUTTON", "COPKUTUBMP", "COPKUTUDOWN", "COPKUTUDISABLE"},
        {"NRCPUSHBUTTON", "COWCOW", "COWCOWDOWN", "COWCOWDISABLE"},
        {"CKTLPUSHBUTTON", "CKATILIM", "CKATILIMDOWN", "CKATILIMDISABLE"},
        {"STKPUSHBUTTON", "STKUP", "STKDOWN", nullptr},
        {"HTANIPUSHBUTTON", "HTANIUP", "HTANIDOWN", "HTANIDISABLE"},
        {"FORMPBUTTON", "FORMUP", "FORMDOWN", nullptr},
        {"COARITMEPBUTTON", "COARITMEUP", "COARITMEDOWN", nullptr},
        {"INTERPOLPBUTTON", "INTERPOLUP", "INTERPOLDOWN", nullptr},
        {"ARGIRPBUTTON", "ARGIRUP", "ARGIRDOWN", "ARGIRDISABLED"},
        {"KAPIPBUTTON", "KAPIUP", "KAPIDOWN", nullptr},
        {"COPKUTPUSHBUTTON", "COPKUTUUP", "COPKUTUDOWN", "COPKUTUDISABLE"},
        {"PRINTERPBUTTON", "PRINTERUP", "PRINTERDOWN", "PRINTERDISABLE"},
        {"NOTEPADPUSHBUTTON", "greenNotepad", "greenNotepadDown", "greenNotepadDisable"},
        {"HMAKPUSHBUTTON", "HESMAK", "HESMAKDOWN", nullptr},
        {"HSECPUSHBUTTON", "HepSecUp", "HepSecDown", "HepSecDisable"},
        {"HKALPUSHBUTTON", "HepKalUp", "HepKalDown", "HepKalDisable"},
        {"SEARCHPBUTTON", "Search", nullptr, nullptr},
        {"EKLEPBUTTON", "YMEkle", "YMEkleDown", nullptr},
        {"MEKOANALPBUTTON", "MEkoAnal", "MEkoAnalDown", nullptr},
        {"BHAMMADPBUTTON", "BENZHMOUP", "BENZHMODOWN", nullptr},
        {"RAPORALPBUTTON", "RAPORALUP", "RAPORALDOWN", nullptr},
        {"AMDONPBUTTON", "AMDonUp", "AMDonDown", nullptr},
        {"NONOPUSHBUTTON", "NOUP", "NODOWN", "NODISABLED"},
        {"KAYDETPBUTTON", "DiskUp", "DiskDown", "DiskDisabled"},
        {"ORANPUSHBUTTON", "PYPYDUP", "PYPYDDOWN", nullptr},
        {"GRPPUSHBUTTON", "GRPUP", "GRPDOWN", nullptr},
        {"GBELIRPUSHBUTTON", "GrupBelirUp", "GrupBelirDown", nullptr},
    };
    return presets;
}

const IconPreset *findIconPreset(const QString &name)
{
    for (const IconPreset &preset : iconPresets())
        if (name.compare(QLatin1String(preset.name), Qt::CaseInsensitive) == 0)
            return &preset;
    return nullptr;
}

void applyIconPreset(ICONPUSHBUTTON *button, const IconPreset &preset)
{
    // A picture the program lacks still gives a set (empty) icon, which keeps its room.
    const auto picture = [](const char *name) { return ResourceLibrary::icon(QString::fromLatin1(name)); };
    button->setICONUP(picture(preset.up));
    if (preset.down)
        button->setICONDOWN(picture(preset.down));
    if (preset.disabled)
        button->setICONDISABLED(picture(preset.disabled));
}

} // namespace vexo
