#include "reports/pad_menus.h"

namespace vexo {

using namespace Qt::StringLiterals;

namespace {

QKeySequence ctrl(Qt::Key key)
{
    return QKeySequence(Qt::CTRL | key);
}

} // namespace

MenuTable standardPadMenu()
{
    MenuTable t;
    t.name = u"STANDARDPADMENU"_s;
    t.rows = {
        submenu(0, 28994, u"&Dosya"_s, u"FILE"_s, {}, u"File"_s),
        item(1, 28995, u"&Yeni..."_s, u"RE_FILENEW"_s, u"Yeni bir dosya oluştur"_s, u"File_New"_s),
        separator(1),
        item(1, 28997, u"&Aç..."_s, u"RE_FILEOPEN"_s, u"Bir dosya aç"_s, u"File_Open"_s),
        item(1, 28998, u"Ka&pat"_s, u"CLOSE"_s, u"Açık dosyayı kapat"_s),
        item(1, 28999, u"&Hepsini Kapat"_s, u"CLOSEALL"_s, u"Tüm alt pencereleri kapat"_s),
        separator(1),
        item(1, kPadSaveItem, u"&Kaydet"_s, u"RTFSAVE"_s, u"Açık dosyadaki değişiklikleri kaydet"_s, u"File_Save"_s,
             MenuState::Disabled),
        item(1, 29002, u"&Farklı Kaydet"_s, u"RTFSAVEAS"_s, u"Farklı kaydet diyaloğunu çağır"_s, u"File_Save_As"_s),
        separator(1),
        item(1, 29004, u"Ya&zdır..."_s, u"FILEPRINT"_s, u"Mevcut metni yazdır"_s, u"File_Print"_s),
        item(1, 29005, u"Yazıcı &Ayarı"_s, u"FILEPRINTERSETUP"_s, u"Yazıcı ayarları diyaloğunu çağır"_s,
             u"File_Printer_Setup"_s),
        submenu(0, 29006, u"&Yazım"_s, u"EDIT"_s, u"Yazım işlemleri"_s, u"Edit"_s),
        item(1, 29007, u"&Font"_s, u"SETFONT"_s, u"Font diyaloğunu çağır"_s, u"SetFont"_s),
        separator(1),
        item(1, 29009, u"&Marjlar"_s, u"SETMARGINS"_s, u"Sayfa maj ayarı diyaloğunu çağır"_s),
        submenu(1, 29010, u"&Düzenle"_s, u"YAZıM_DÜZENLE"_s),
        item(2, 29011, u"&Sol"_s, u"YAZıM_DÜZENLE_SOL"_s),
        item(2, 29012, u"&Orta"_s, u"YAZıM_DÜZENLE_ORTA"_s, u"Ortala"_s),
        item(2, 29013, u"Sa&ğ"_s, u"YAZıM_DÜZENLE_SAĞ"_s, u"Sağa daya"_s),
        separator(1),
        item(1, 29015, u"&Kes...\tCtrl+X"_s, u"CUT"_s, u"Panoya kopyala ve sil"_s, u"Cut"_s),
        item(1, 29016, u"Ko&pyala\tCtrl+C"_s, u"COPY"_s, u"Panoya kopyala"_s, u"Copy"_s),
        item(1, 29017, u"&Yapıştır\tCtrl+V"_s, u"PASTE"_s, u"Panodan yapıştır"_s, u"Paste"_s),
        separator(1),
        item(1, 29019, u"&Tümünü Seç"_s, u"SELECTALL"_s, u"Rapor editöründeki metnin tamamını seç..."_s),
        submenu(0, 29020, u"&Pencere"_s, u"WINDOW"_s, u"Alt pencereleri düzenle"_s),
        item(1, 29021, u"&Küçült"_s, u"WINDOWCASCADE"_s, u"Alt pencereyi küçült"_s, u"WindowCascade"_s),
        separator(1),
        item(1, 29023, u"&Diz..."_s, u"WINDOWTILE"_s, u"Alt pencereleri dizili olarak düzenle"_s, u"WindowTile"_s),
        submenu(0, 29024, u"&Araçlar"_s, u"ARAÇLAR_"_s),
        item(1, 29025, u"&Hesap Makinesi"_s, u"WIN_HESMAK"_s, u"Hesap makinesini çağır"_s),
        submenu(0, 29026, u"&Yardım"_s, u"HELP"_s),
        item(1, 29027, u"&İndeks\tF1"_s, u"HELPINDEX"_s, u"Yardım indeksi"_s),
        item(1, 29028, u"İçin&dekiler\tF2"_s, u"HELPCONTENTS"_s, u"İçindekiler listesi"_s),
        item(1, 29029, u"İ&lgili Yardım\tF3"_s, u"RE_CONTEXTHELP"_s, u"İlgili yardım"_s),
        separator(1),
        item(1, 29031, u"&Hakkında...\tF4"_s, u"OHAKKINDA"_s, u"VEXO_Zud 2.6 Hakkında "_s),
    };
    t.keys = {
        {ctrl(Qt::Key_X), 29015},           {ctrl(Qt::Key_C), 29016},           {ctrl(Qt::Key_V), 29017},
        {QKeySequence(Qt::Key_F1), 29027}, {QKeySequence(Qt::Key_F2), 29028}, {QKeySequence(Qt::Key_F3), 29029},
        {QKeySequence(Qt::Key_F4), 29031},
    };
    t.tools = {
        {100, 28995, u"Yeni dosya aç"_s},
        {2, 28997, u"Bir dosya aç"_s},
        {3, 28998, u"Kapat"_s},
        {4, kPadSaveItem, u"Kaydet"_s},
        {5, 29004, u"Yazdır"_s},
        toolSeparator(),
        {12, 29007, u"Font ayarı"_s},
        {101, 29015, u"Kes"_s},
        {31, 29016, u"Kopyala"_s},
        {102, 29017, u"Yapıştır"_s},
        toolSeparator(),
        {21, 29011, u"Sola daya"_s},
        {22, 29012, u"Ortala"_s},
        {23, 29013, u"Sağa daya"_s},
        toolSeparator(),
        {48, 29025, u"Hesap makinesi"_s},
        toolSeparator(),
        {120, 29027, u"Yardım indeksi"_s},
    };
    return t;
}

MenuTable edContMenu()
{
    MenuTable t;
    t.name = u"ED_CONT_MENU"_s;
    t.rows = {
        submenu(0, 28999, u"&Yazım"_s, u"EDIT"_s, u"Yazım "_s, u"Edit"_s),
        item(1, 29000, u"&Font..."_s, u"SETFONT"_s, u"Font diyaloğunu çağır"_s, u"Undo"_s),
        separator(1),
        item(1, 29002, u"&Marjlar"_s, u"SETMARGINS"_s, u"Sayfa maj ayarı diyaloğunu çağır"_s),
        submenu(1, 29003, u"&Düzenle"_s, u"YAZıM_DÜZENLE"_s),
        item(2, 29004, u"&Sol"_s, u"YAZıM_DÜZENLE_SOL"_s, u"Sola daya"_s),
        item(2, 29005, u"&Orta"_s, u"YAZıM_DÜZENLE_ORTA"_s, u"Ortala"_s),
        item(2, 29006, u"Sa&ğ"_s, u"YAZıM_DÜZENLE_SAĞ"_s, u"Sağa daya"_s),
        separator(1),
        item(1, 29008, u"&Kes...\tCtrl+X"_s, u"CUT"_s, u"Panoya kopyala ve sil"_s, u"Cut"_s),
        item(1, 29009, u"Ko&pyala\tCtrl+C"_s, u"COPY"_s, u"Panoya kopyala"_s, u"Copy"_s),
        item(1, 29010, u"&Yapıştır\tCtrl+V"_s, u"PASTE"_s, u"Panodan yapıştır"_s, u"Paste"_s),
        separator(1),
        item(1, 29012, u"Tümünü &Seç"_s, u"SELECTALL"_s, u"Rapor editöründeki metnin tamamını seç..."_s, u"Append"_s),
    };
    t.keys = {{ctrl(Qt::Key_X), 29008}, {ctrl(Qt::Key_C), 29009}, {ctrl(Qt::Key_V), 29010}};
    return t;
}

} // namespace vexo
