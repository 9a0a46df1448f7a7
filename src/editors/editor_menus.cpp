#include "editors/editor_menus.h"

namespace vexo {

using namespace Qt::StringLiterals;

namespace {

// The seven keys every editor has, each giving the item of the same role.
std::vector<KeyRow> editorKeys(int cut, int copy, int paste, int index, int contents, int context, int about)
{
    return {
        {QKeySequence(Qt::CTRL | Qt::Key_X), cut},    {QKeySequence(Qt::CTRL | Qt::Key_C), copy},
        {QKeySequence(Qt::CTRL | Qt::Key_V), paste},  {QKeySequence(Qt::Key_F1), index},
        {QKeySequence(Qt::Key_F2), contents},         {QKeySequence(Qt::Key_F3), context},
        {QKeySequence(Qt::Key_F4), about},
    };
}

struct ToolIds
{
    int close, cut, copy, paste, add, remove, solve, calculator, help;
};

// The thirteen slots of an editor's tool bar.
std::vector<ToolRow> editorTools(const ToolIds &id, int addPicture, const QString &addTip, const QString &removeTip,
                                 const QString &helpTip)
{
    return {
        {3, id.close, u"Pencereyi kapat"_s}, toolSeparator(),
        {101, id.cut, u"Kes"_s},             {31, id.copy, u"Kopyala"_s},
        {102, id.paste, u"Yapıştır"_s},      toolSeparator(),
        {addPicture, id.add, addTip},        {121, id.remove, removeTip},
        toolSeparator(),                     {90, id.solve, u"Çözüm"_s},
        {48, id.calculator, u"Hesap makinesi"_s}, toolSeparator(),
        {120, id.help, helpTip},
    };
}

} // namespace

MenuTable ymGirMenu()
{
    MenuTable t;
    t.name = u"YM_GIRMENU"_s;
    t.rows = {
        submenu(0, 29156, u"&Pencere"_s, u"WINDOW"_s, u"Alt pencereyi düzenle"_s),
        item(1, 32026, u"&Küçült"_s, u"WINDOWCASCADE"_s, u"Yem maddesi veri giriş penceresini küçült"_s, u"WindowCascade"_s),
        item(1, 29158, u"&Diz..."_s, u"WINDOWTILE"_s, u"Yem maddesi veri giriş penceresini dizili olarak düzenle"_s, u"WindowTile"_s),
        separator(1),
        item(1, 29160, u"Ka&pat..."_s, u"CLOSE"_s, u"Yem maddesi veri giriş penceresini kapat"_s),
        submenu(0, 29161, u"Y&azım"_s, u"EDIT"_s, u"Yazım işlemleri"_s, u"Edit"_s),
        item(1, 29162, u"&Kes...\tCtrl+X"_s, u"CUT"_s, u"Panoya kopyala ve sil"_s, u"Cut"_s),
        item(1, 29163, u"Ko&pyala\tCtrl+C"_s, u"COPY"_s, u"Panoya kopyala"_s, u"Copy"_s),
        item(1, 29164, u"&Yapıştır\tCtrl+V"_s, u"PASTE"_s, u"Panodan yapıştır"_s, u"Paste"_s),
        separator(1),
        item(1, 29166, u"Yem Maddesi &Ekle"_s, u"YEMMADEKLE"_s, u"Referans matrisden yem maddesi/maddeleri ekle"_s),
        item(1, 29167, u"Yem Maddesi &Sil"_s, u"PBSIL"_s, u"Seçili yem maddesini sil"_s, u"Delete"_s),
        separator(1),
        item(1, 29169, u"Stokda &Var/Yok"_s, u"YMSTOKKONT"_s, u"Seçili yem maddesinin stokta var/yok..."_s),
        separator(1),
        item(1, kPriceSaveItem, u"&Fiyat Değişikliklerini Kaydet "_s, u"YMFIAKAYDISOR"_s),
        separator(1),
        item(1, 29173, u"BM &Muhtevasını Gör"_s, u"YMBMMUHTGOR"_s, u"Seçili yem maddesinin besin maddesi muhtevasını gör"_s),
        submenu(0, 29174, u"&Araçlar"_s, u"ARAÇLAR_"_s),
        item(1, 29175, u"&Çözüm"_s, u"PBCOZUM"_s, u"Çözüm iste..."_s),
        separator(1),
        item(1, 29177, u"&Hesap Makinesi"_s, u"WIN_HESMAK"_s, u"Hesap makinesini çağır"_s),
        submenu(0, 29178, u"&Yardım"_s, u"YARDıM_"_s),
        item(1, 29179, u"&İndeks\tF1"_s, u"HELPINDEX"_s, u"Yardım indeksi"_s),
        item(1, 29180, u"İçin&dekiler\tF2"_s, u"HELPCONTENTS"_s, u"İçindekiler listesi"_s),
        item(1, 29181, u"İl&gili Yardım\tF3"_s, u"CONTEXTHELP"_s, u"İlgili yardım"_s),
        separator(1),
        item(1, 29183, u"&Hakkında...\tF4"_s, u"ABOUT"_s, u"VEXO_Zud 2.6 Hakkında"_s),
    };
    t.keys = editorKeys(29162, 29163, 29164, 29179, 29180, 29181, 29183);
    t.tools = editorTools({29160, 29162, 29163, 29164, 29166, 29167, 29175, 29177, 29179}, 42,
                          u"Yem maddesi ekle"_s, u"Seçili yem maddesini sil"_s, u"İndeks"_s);
    return t;
}

MenuTable bmGirMenu()
{
    MenuTable t;
    t.name = u"BM_GIRMENU"_s;
    t.rows = {
        submenu(0, 29346, u"&Pencere"_s, u"WINDOW"_s, u"Mevcut pencereyi düzenle"_s),
        item(1, 29347, u"&Küçült"_s, u"WINDOWCASCADE"_s, u"BM giriş penceresini küçült"_s, u"WindowCascade"_s),
        item(1, 29348, u"&Diz..."_s, u"WINDOWTILE"_s, u"BM giriş penceresini dizili olarak düzenle"_s, u"WindowTile"_s),
        separator(1),
        item(1, 29350, u"Ka&pat..."_s, u"CLOSE"_s, u"BM giriş penceresini kapat"_s),
        submenu(0, 29351, u"Y&azım"_s, u"EDIT"_s, u"Yazım işlemi"_s, u"Edit"_s),
        item(1, 29352, u"&Kes...\tCtrl+X"_s, u"CUT"_s, u"Sil ve panoya kopyala"_s, u"Cut"_s),
        item(1, 29353, u"Ko&pyala\tCtrl+C"_s, u"COPY"_s, u"Panoya kopyala"_s, u"Copy"_s),
        item(1, 29354, u"&Yapıştır\tCtrl+V"_s, u"PASTE"_s, u"Panodan yapıştır"_s, u"Paste"_s),
        separator(1),
        item(1, 29356, u"Besin Maddesi &Ekle"_s, u"BESMADEKLE"_s, u"Referans matristen besin maddesi ekle"_s),
        item(1, 29357, u"Besin Maddesi &Sil"_s, u"PBSIL"_s, u"Seçili besin maddesi satırını sil"_s, u"Delete"_s),
        separator(1),
        item(1, 29359, u"Yem Mad. Katılım &Oranları"_s, u"HYMADKATILIYOR"_s,
             u"Seçili besin maddesine yem maddelerinin oransal (%) katkısını gör"_s),
        separator(1),
        submenu(0, 29361, u"&Araçlar"_s, u"ARAÇLAR_"_s),
        item(1, 29362, u"&Çözüm..."_s, u"PBCOZUM"_s, u"Çözüm iste..."_s),
        separator(1),
        item(1, 29364, u"&Hesap Makinesi"_s, u"WIN_HESMAK"_s, u"Hesap makinesini çağır"_s),
        submenu(0, 29365, u"&Yardım"_s, u"HELP"_s, u"Yardım"_s),
        item(1, 29366, u"&İndeks\tF1"_s, u"HELPINDEX"_s, u"Yardım indeksi"_s),
        item(1, 29367, u"İçin&dekiler\tF2"_s, u"HELPCONTENTS"_s, u"İçindekiler listesi"_s),
        item(1, 29368, u"İl&gili Yardım\tF3"_s, u"CONTEXTHELP"_s, u"İlgili yardımı çağır"_s),
        separator(1),
        item(1, 29370, u"&Hakkında...\tF4"_s, u"OHAKKINDA"_s, u"VEXO_Zud 2.6 hakkında..."_s),
    };
    t.keys = editorKeys(29352, 29353, 29354, 29366, 29367, 29368, 29370);
    t.tools = editorTools({29350, 29352, 29353, 29354, 29356, 29357, 29362, 29364, 29366}, 42,
                          u"Besin maddesi ekle"_s, u"Seçili besin maddesini sil"_s, u"Yardım indeksi"_s);
    return t;
}

MenuTable bmoGirMenu()
{
    MenuTable t;
    t.name = u"BMO_GIRMENU"_s;
    t.rows = {
        submenu(0, 29287, u"&Pencere"_s, u"WINDOW"_s, u"Alt pencereyi düzenle"_s),
        item(1, 29288, u"&Küçült"_s, u"WINDOWCASCADE"_s, u"BMO veri giriş penceresini küçült"_s, u"WindowCascade"_s),
        item(1, 29289, u"&Diz..."_s, u"WINDOWTILE"_s, u"BMO veri giriş penceresini  dizili olarak düzenle"_s, u"WindowTile"_s),
        separator(1),
        item(1, 29291, u"Ka&pat..."_s, u"CLOSE"_s, u"BMO veri giriş penceresini kapat"_s),
        submenu(0, 29292, u"Y&azım"_s, u"EDIT"_s, u"Yazım işlemleri"_s, u"Edit"_s),
        item(1, 29293, u"&Kes...\tCtrl+X"_s, u"CUT"_s, u"Sil ve panoya kopyala"_s, u"Cut"_s),
        item(1, 29294, u"Ko&pyala\tCtrl+C"_s, u"COPY"_s, u"Panoya kopyala"_s, u"Copy"_s),
        item(1, 29295, u"&Yapıştır\tCtrl+V"_s, u"PASTE"_s, u"Panodan yapıştır"_s, u"Paste"_s),
        separator(1),
        item(1, 29297, u"Oran &Ekle"_s, u"PBEKLE"_s, u"Yeni oran ekle"_s, u"Append"_s),
        item(1, 29298, u"Oran &Sil"_s, u"PBSIL"_s, u"Seçili oranı sil"_s, u" "_s),
        submenu(0, 29299, u"&Araçlar"_s, u"ARAÇLAR_"_s),
        item(1, 29300, u"&Çözüm"_s, u"PBCOZUM"_s, u"Çözüm iste"_s),
        separator(1),
        item(1, 29302, u"&Hesap Makinesi"_s, u"WIN_HESMAK"_s, u"Hesap makinesini çağır"_s),
        submenu(0, 29303, u"&Yardım"_s, u"HELP"_s, u"Yardım"_s),
        item(1, 29304, u"&İndeks\tF1"_s, u"HELPINDEX"_s, u"Yardın indeksi"_s),
        item(1, 29305, u"İçin&dekiler\tF2"_s, u"HELPCONTENTS"_s, u"İçindekiler listesi"_s),
        item(1, 29306, u"İl&gili Yardım\tF3"_s, u"CONTEXTHELP"_s, u"İlgili yardım"_s),
        separator(1),
        item(1, 29308, u"&Hakkında...\tF4"_s, u"OHAKKINDA"_s, u"VEXO_Zud 2.6 hakkinda... "_s),
    };
    t.keys = editorKeys(29293, 29294, 29295, 29304, 29305, 29306, 29308);
    t.tools = editorTools({29291, 29293, 29294, 29295, 29297, 29298, 29300, 29302, 29304}, 69, u"Oran ekle"_s,
                          u"Seçili oranı sil"_s, u"Yardım indeksi"_s);
    return t;
}

MenuTable ymConMenu()
{
    MenuTable t;
    t.name = u"YM_CON_MENU"_s;
    t.rows = {
        submenu(0, 3393, u"&Yazım"_s, u"EDIT"_s, u"Yem maddesi veri giriş penceresi içerik menüsü"_s, u"Edit"_s),
        item(1, 3394, u"&Kes..."_s, u"CUT"_s, u"Panoya kopyala ve sil"_s),
        item(1, 3395, u"Ko&pyala"_s, u"COPY"_s, u"Panoya kopyala"_s),
        item(1, 3396, u"&Yapıştır"_s, u"PASTE"_s, u"Panodan yapıştır"_s),
        separator(1),
        item(1, 3398, u"Yem Maddesi &Ekle"_s, u"YEMMADEKLE"_s, u"Referans matrisden yem maddesi/maddeleri ekle"_s),
        item(1, 3399, u"Yem Maddesi &Sil"_s, u"PBSIL"_s, u"Seçili yem maddesini sil"_s, u"Delete"_s),
        separator(1),
        item(1, 3401, u"Stokda &Var/Yok"_s, u"YMSTOKKONT"_s, u"Seçili yem maddesinin stokda var/yok durumu..."_s),
        separator(1),
        item(1, kPriceSaveContextItem, u"Fiyat Değişikliklerini Kaydet "_s, u"YMFIAKAYDISOR"_s, {}, {},
             MenuState::Disabled),
        separator(1),
        item(1, 3405, u"BM &Muhtevasını Gör"_s, u"YMBMMUHTGOR"_s, u"Seçili yem maddesinin besin maddesi muhtevasını gör"_s),
    };
    return t;
}

MenuTable bmContMenu()
{
    MenuTable t;
    t.name = u"BM_CONT_MENU"_s;
    t.rows = {
        submenu(0, 3440, u"&Yazım"_s, u"EDIT"_s, u"Besin maddesi verileri yazımı"_s, u"Edit"_s),
        item(1, 3441, u"&Kes..."_s, u"CUT"_s, u"Panoya kopyala ve sil"_s),
        item(1, 3442, u"Ko&pyala"_s, u"COPY"_s, u"Panoya kopyala"_s),
        item(1, 3443, u"&Yapıştır"_s, u"PASTE"_s, u"Panodan yapıştır"_s),
        separator(1),
        item(1, 3445, u"Besin Maddesi &Ekle"_s, u"BESMADEKLE"_s, u"Referans matristen besin maddesi ekle"_s),
        item(1, 3446, u"Besin Maddesi &Sil"_s, u"PBSIL"_s, u"Seçili besin maddesi satırını sil"_s, u"Delete"_s),
        separator(1),
        item(1, 3448, u"Yem Mad. Katılım &Oranları"_s, u"HYMADKATILIYOR"_s,
             u"Seçili besin maddesine yem maddelerinin oransal (%) katkısını gör"_s),
    };
    return t;
}

MenuTable bmoConMenu()
{
    MenuTable t;
    t.name = u"BMO_CON_MENU"_s;
    t.rows = {
        submenu(0, 4251, u"&Yazım"_s, u"EDIT"_s, u"Besin maddesi oranları yazımı"_s, u"Edit"_s),
        item(1, 4252, u"&Kes..."_s, u"CUT"_s, u"Panoya kopyala ve sil"_s),
        item(1, 4253, u"Ko&pyala"_s, u"COPY"_s, u"Panoya kopyala"_s),
        item(1, 4254, u"&Yapıştır"_s, u"PASTE"_s, u"Panodan yapıştır"_s),
        separator(1),
        item(1, 4256, u"Oran &Ekle"_s, u"PBEKLE"_s, u"Yeni oran ekle"_s, u"Append"_s),
        item(1, 4257, u"Oran &Sil"_s, u"PBSIL"_s, u"Seçili oranı sil"_s, u"Delete"_s),
    };
    return t;
}

MenuTable editorMenu(EditorKind kind)
{
    switch (kind) {
    case EditorKind::Ingredient:
        return ymGirMenu();
    case EditorKind::Nutrient:
        return bmGirMenu();
    case EditorKind::Ratio:
        break;
    }
    return bmoGirMenu();
}

MenuTable editorContextMenu(EditorKind kind)
{
    switch (kind) {
    case EditorKind::Ingredient:
        return ymConMenu();
    case EditorKind::Nutrient:
        return bmContMenu();
    case EditorKind::Ratio:
        break;
    }
    return bmoConMenu();
}

} // namespace vexo
