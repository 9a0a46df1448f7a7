#include "matrix/group_menus.h"

namespace vexo {

using namespace Qt::StringLiterals;

MenuTable ymGrubuMenu()
{
    MenuTable t;
    t.name = u"YM_GRUBU_MENU"_s;
    t.rows = {
        submenu(0, 30517, u"&Pencere"_s, u"WINDOW"_s, u"Alt pencereyi düzenle"_s),
        item(1, 30518, u"&Küçült"_s, u"WINDOWCASCADE"_s, u"Alt pencereyi küçült"_s),
        item(1, 30519, u"&Diz..."_s, u"WINDOWTILE"_s, u"Alt pencereyi dizili düzenle"_s),
        separator(1),
        item(1, 30521, u"Ka&pat...\tAlt+F4"_s, u"CLOSE"_s, u"Ana pencereye dön"_s),
        submenu(0, 30522, u"&Yazım"_s, u"EDIT"_s, u"Yem maddesi grupları yazımı"_s),
        item(1, 30523, u"&Kes...\tCtrl+X"_s, u"CUT"_s, u"Panoya kopyala ve sil"_s),
        item(1, 30524, u"Ko&pyala\tCtrl+C"_s, u"COPY"_s, u"Panoya kopyala"_s),
        item(1, 30525, u"&Yapıştır\tCtrl+V"_s, u"PASTE"_s, u"Panodan yapıştır"_s),
        separator(1),
        item(1, 30527, u"Yeni Grup &Ekle"_s, u"PBEKLE"_s, u"Yeni grup ekle"_s),
        item(1, 30528, u"Grup Yem &Mad. Belirle"_s, u"GRPBELIRLE"_s, u"Seçili grup yem maddelerini belirle"_s),
        item(1, 30529, u"Grup &Sil"_s, u"PBSIL"_s, u"Seçili grubu sil"_s),
        submenu(0, 30530, u"&Araçlar"_s, u"ARACLAR"_s),
        item(1, kGroupSolveItem, u"&Çözüm"_s, u"PBCOZUM"_s, u"Çözüm iste..."_s, {}, MenuState::Disabled),
        separator(1),
        item(1, 30533, u"&Hesap Makinesi"_s, u"PB_HMAK"_s, u"Hesap makinesini çağır"_s),
        submenu(0, 30534, u"&Yardım"_s, u"YARDIM"_s),
        item(1, 30535, u"&İndeks\tF1"_s, u"HELPINDEX"_s, u"Yardım indeksi"_s),
        item(1, 30536, u"İçin&dekiler\tF2"_s, u"HELPCONTENTS"_s, u"İçindekiler listesi"_s),
        item(1, 30537, u"İlgili &Yardım\tF3"_s, u"CONTEXTHELP"_s, u"İlgili yardım"_s),
        separator(1),
        item(1, 30539, u"&Hakkında...\tF4"_s, u"OHAKKINDA"_s, u"VEXO_Zud 2.6 hakkında"_s),
    };
    t.keys = {
        {QKeySequence(Qt::ALT | Qt::Key_F4), 30521}, {QKeySequence(Qt::CTRL | Qt::Key_X), 30523},
        {QKeySequence(Qt::CTRL | Qt::Key_C), 30524}, {QKeySequence(Qt::CTRL | Qt::Key_V), 30525},
        {QKeySequence(Qt::Key_F1), 30535},           {QKeySequence(Qt::Key_F2), 30536},
        {QKeySequence(Qt::Key_F3), 30537},           {QKeySequence(Qt::Key_F4), 30539},
    };
    t.tools = {
        {3, 30521, u"Kapat"_s},       toolSeparator(),
        {101, 30523, u"Kes"_s},       {31, 30524, u"Kopyala"_s},     {102, 30525, u"Yapıştır"_s},
        toolSeparator(),
        {69, 30527, u"Grup gir"_s},   {81, 30528, u"Grup belirle"_s}, {121, 30529, u"Sil"_s},
        toolSeparator(),
        {90, kGroupSolveItem, u"Çözüm"_s}, {48, 30533, u"Hesap makinesi"_s},
        toolSeparator(),
        {120, 30535, u"İndeks"_s},
    };
    return t;
}

MenuTable ymgContMenu()
{
    MenuTable t;
    t.name = u"YMG_CONT_MENU"_s;
    t.rows = {
        submenu(0, 0, u"&Yazım"_s, u"EDIT"_s),
        item(1, 4288, u"&Kes..."_s, u"CUT"_s, u"Seçili hücre değerini panoya kopyala ve sil"_s),
        item(1, 4289, u"Ko&pyala"_s, u"COPY"_s, u"Seçili hücre değerini panoya kopyala"_s),
        item(1, 4290, u"&Yapıştır"_s, u"PASTE"_s, u"Seçili hücreye panodaki veriyi kopyala"_s),
        separator(1),
        item(1, 4292, u"Yeni Grup &Ekle"_s, u"PBEKLE"_s, u"Yeni grup ekle"_s),
        item(1, 4293, u"Grup Yem &Mad. Belirle"_s, u"GRPBELIRLE"_s, u"Seçili grup yem maddelerini belirle"_s),
        item(1, 4294, u"Grup &Sil"_s, u"PBSIL"_s, u"Seçili yem maddesi grubunu sil"_s),
    };
    return t;
}

} // namespace vexo
