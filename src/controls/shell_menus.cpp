#include "controls/shell_menus.h"

namespace vexo {

using namespace Qt::StringLiterals;

namespace {

QKeySequence ctrl(Qt::Key key)
{
    return QKeySequence(Qt::CTRL | key);
}

QKeySequence alt(Qt::Key key)
{
    return QKeySequence(Qt::ALT | key);
}

} // namespace

MenuTable emptyShellMenu()
{
    MenuTable t;
    t.name = u"EMPTYSHELLMENU"_s;
    t.rows = {
        submenu(0, 28395, u"&Dosya"_s, u"FILE"_s, u"Dosya işlemleri"_s),
        item(1, 28396, u"&Yeni...\tCtrl+Y"_s, u"YENIDOSYAGIR"_s, u"Yeni bir veri dosyası aç"_s),
        separator(1),
        item(1, 28398, u"&Aç...\tCtrl+A"_s, u"FILEOPEN"_s, u"Mevcut bir veri dosyası aç"_s),
        item(1, 28399, u"Ka&pat...\tCtrl+P"_s, u"FILECLOSE"_s, u"Açık veri dosyasını kapat"_s, {}, MenuState::Disabled),
        separator(1),
        item(1, 28401, u"&Kaydet...\tCtrl+K"_s, u"KAYDET"_s, u"Değişiklikleri kaydet"_s, {}, MenuState::Disabled),
        item(1, 28402, u"&Farklı Kaydet\tCtrl+F"_s, u"FKAYDET"_s, u"Açık veri dosyasını istenilen dizine veya sürücüye kaydet"_s, {}, MenuState::Disabled),
        separator(1),
        item(1, 28404, u"&Çıkış...\tCtrl+X"_s, u"FILEEXIT"_s, u"Programı sonlandır "_s),
        submenu(0, 28405, u"Aktif Problem &Girişleri"_s, u"AKTIF_PROBLEM_GIRIŞLERI_"_s, u"Aktif problem verileri girilir"_s),
        item(1, 28406, u"Yem Maddesi &Verileri\tCtrl+V"_s, u"YM_GIRIS"_s, u"Yem maddesi adı, fiyat  ve sınırlarını gir"_s, {}, MenuState::Disabled),
        item(1, 28407, u"&Besin Maddesi Verileri\tCtrl+B"_s, u"BM_GIRIS"_s, u"Besin maddesi adı, birim ve sınırlarını gir"_s, {}, MenuState::Disabled),
        item(1, 28408, u"Aktif &Matris Yazımı\tCtrl+M"_s, u"AMAT_GIRIS"_s, u"Aktif problem matrisi yazım penceresini çağır"_s, {}, MenuState::Disabled),
        separator(1),
        item(1, 28410, u"Besin Maddesi &Oranları\tCtrl+O"_s, u"BMO_GIRIS"_s, u"Besin maddeleri arasında oranlar belirle"_s, {}, MenuState::Disabled),
        item(1, 28411, u"Yem Maddesi &Grupları\tCtrl+G"_s, u"YMGRUBU"_s, u"Yem maddesi grupları oluştur"_s, {}, MenuState::Disabled),
        submenu(0, 28412, u"&Rapor"_s, u"RAPOR_"_s, u"Program raporları hazırlanır"_s),
        item(1, 28413, u"Yem &Formülü"_s, u"COZUM"_s, u"Yem formülü için çözüm iterasyonları başlat ve sonuç raporu hazırla"_s, {}, MenuState::Disabled),
        separator(1),
        item(1, 28415, u"&Aktif Matris"_s, u"AMATREPORT"_s, u"Aktif matris raporu hazırla"_s, {}, MenuState::Disabled),
        separator(1),
        item(1, 28417, u"&Ham Madde Fiyat Listesi"_s, u"HMFIATLIST"_s, u"Yem maddeleri fiyat listesi raporu hazırla"_s),
        submenu(0, 28418, u"&Sonuçlar"_s, u"SONUÇLAR_"_s, u"Sonuç gözlemi"_s),
        item(1, 28419, u"&Tekst Editöründe\tCtrl+T"_s, u"REPORTPAD"_s, u"Sonuçları tekst editörününde gözle ve yazdır"_s),
        submenu(0, 28420, u"Referans &Matris"_s, u"REFERANS_MATRIS_"_s, u"Referans matris işlemleri"_s),
        item(1, 28421, u"Besin Maddesi &Ekle-Sil"_s, u"BMEDITWIN"_s, u"Referans matrise yeni BM ekle-sil"_s),
        item(1, 28422, u"&Matris Yazımı"_s, u"RM_YAZIM"_s, u"Referans matris yazım penceresine geç"_s),
        separator(1),
        item(1, 28424, u"&Yedekle"_s, u"RM_YEDEKLE"_s, u"Referans matris veritabanı dosyalarını yedekle"_s),
        item(1, 28425, u"Yedekten &Al"_s, u"RM_YEDEKTEN_AL"_s, u"Yedkli veritabanı dosyalarını al ve kullan"_s),
        separator(1),
        item(1, 28427, u"VEXO_Zud 2.5 &Dönüşümü"_s, u"VKAR25_DONUS"_s, u"VEXO_Zud 2.5 veritabanı dosyasını dönüştür"_s),
        submenu(0, 28428, u"&Veri Kaynağı"_s, u"VERI_KAYNAĞı_"_s, {}),
        item(1, 28429, u"&Referans Matris"_s, u"ACTMATMUHTEVASI"_s, u"Aktif matris muhtevası ve YM fiyatlarını referans matrisden oku"_s, {}, MenuState::Checked),
        item(1, 28430, u"&Veri Dosyası"_s, u"ACTMATMUHTEVASI"_s, u"Aktif matris muhtevası ve YM fiyatlarını veri dosyasından oku"_s),
        submenu(0, 28431, u"&Yardım"_s, u"HELP"_s, {}),
        item(1, 28432, u"&İndeks\tF1"_s, u"HELPINDEX"_s, u"Yardım indeksi"_s, u" "_s),
        submenu(1, 28433, u"&Başlarken"_s, u"YARDıM_BAŞLARKEN"_s, u"Program başlatıldığında çağrılabilecek rutinler"_s),
        item(2, 28434, u"&Tüyo Göster"_s, u"TUYOGOSTER"_s, u"Program başlarken 'Tüyo Göster' diyaloğunu çağır"_s),
        item(2, 28435, u"&Logo Göster"_s, u"LOGOGOSTER"_s, u"Program başlarken 'program logosu'  diyaloğunu çağır"_s),
        separator(2),
        item(2, 28437, u"Ad ve &Parola Sor"_s, u"ADPAROLASOR"_s, u"Program başlarken 'ad ve parola sor'  diyaloğunu çağır"_s),
        item(1, 28438, u"İçin&dekiler\tF2"_s, u"HELPCONTENTS"_s, u"İçindekiler listesi"_s),
        separator(1),
        separator(1),
        item(1, 28441, u"Yeni Kullanıcı &Ekle"_s, u"ADDNEWUSER"_s, u"Yeni bir VEXO_Zud kullanıcısı ekle"_s),
        item(1, 28442, u"Ad ve &Parola Değiştir"_s, u"CHANGEUANDP"_s, u"Aktif kullanıcı ad ve parolasını değiştir"_s),
        separator(1),
        item(1, 28449, u"Programı &Güncelle\tAlt+G"_s, u"VXOFTP"_s, u"İnternetten program güncelleme arayüzünü çağır"_s),
        separator(1),
        item(1, 28451, u"Pencere &Boyut-Sakla\tAlt+S"_s, u"SAVESCREENSIZEPOS"_s, u"Ana pencere boyutlarını sakla"_s),
        separator(1),
        item(1, 28453, u"&Hakkında...\tF4"_s, u"OHAKKINDA"_s, u"VEXO_Zud 2.6 hakkında genel bilgi diyaloğunu çağır"_s),
    };
    t.keys = {
        {ctrl(Qt::Key_Y), 28396}, {ctrl(Qt::Key_A), 28398}, {ctrl(Qt::Key_P), 28399}, {ctrl(Qt::Key_K), 28401},
        {ctrl(Qt::Key_F), 28402}, {ctrl(Qt::Key_X), 28404}, {ctrl(Qt::Key_V), 28406}, {alt(Qt::Key_G), 28449},
        {QKeySequence(Qt::Key_F4), 28453}, {ctrl(Qt::Key_B), 28407}, {ctrl(Qt::Key_M), 28408},
        {ctrl(Qt::Key_O), 28410}, {ctrl(Qt::Key_G), 28411}, {ctrl(Qt::Key_T), 28419},
        {QKeySequence(Qt::Key_F1), 28432}, {QKeySequence(Qt::Key_F2), 28438}, {alt(Qt::Key_S), 28451},
    };
    t.tools = {
        {1, 28396, u"Yeni bir veri dosyası aç"_s},
        toolSeparator(),
        {2, 28398, u"Mevcut bir veri dosyası aç"_s},
        {3, 28399, u"Açık veri dosyasını kapat"_s},
        {4, 28401, u"Değişiklikleri kaydet"_s},
        toolSeparator(),
        {90, 28413, u"Çözüm raporu hazırla"_s},
        {6, 28419, u"Rapor editörü"_s},
        toolSeparator(),
        {120, 28432, u"Yardım indeksi"_s},
    };
    return t;
}

MenuTable standardShellMenu()
{
    MenuTable t;
    t.name = u"STANDARDSHELLMENU"_s;
    t.rows = {
        submenu(0, 28361, u"&Dosya"_s, u"DOSYA_"_s, {}),
        item(1, 28362, u"&Kaydet"_s, u"KAYDET"_s, u"Değişiklikleri kaydet"_s),
        separator(1),
        item(1, 28364, u"&Çıkış..."_s, u"CLOSE"_s, u"Referans matris penceresinden çıkt"_s),
        submenu(0, 28365, u"Y&azım"_s, u"EDIT"_s, u"Yazım işlemleri"_s, u"Edit"_s),
        item(1, 28366, u"&Kes...\tCtrl+X"_s, u"CUT"_s, u"Panoya kopyala ve sil"_s, u"Cut"_s),
        item(1, 28367, u"Ko&pyala\tCtrl+C"_s, u"COPY"_s, u"Panoya kopyala"_s, u"Copy"_s),
        item(1, 28368, u"&Yapıştır\tCtrl+V"_s, u"PASTE"_s, u"Panodan yapıştır"_s, u"Paste"_s),
        separator(1),
        item(1, 28370, u"Yem Mad. &Formda Yaz"_s, u"RMINDEDIT"_s, u"Seçili yem maddesini formda yaz..."_s),
        separator(1),
        item(1, 28372, u"Yem Mad. &Ekle..."_s, u"YM_EKLE"_s, u"Yeni yem maddesi ekle"_s, u"Append"_s),
        item(1, 28373, u"Araya Yem Mad. &Gir"_s, u"INSBLNKYM"_s, u"Araya yeni yem maddesi gir"_s),
        item(1, 28374, u"Yem Mad. &Sil..."_s, u"YMDELETE"_s, u"Seçili yem maddesini sil"_s, u"Delete"_s),
        separator(1),
        item(1, 28376, u"Se&ç..."_s, u"YMSEC"_s, u"Kaydırılacak yem maddesi seçimi"_s),
        item(1, 28377, u"&Kaydır"_s, u"YMKAYDIR"_s, u"Seçili yem maddesini kaydır"_s, {}, MenuState::Disabled),
        separator(1),
        item(1, 28379, u"&Başa Git\tCtrl+Home"_s, u"GOTOP"_s, u"İlk yem maddesine git"_s, u"GoTop"_s),
        item(1, 28380, u"&Öncekine Git "_s, u"GOPREVIOUS"_s, u"Bir önceki yem maddesi ne git"_s, u"SkipPrevious"_s),
        item(1, 28381, u"Son&rakine Git"_s, u"GONEXT"_s, u"Bir sonraki yem maddesine git"_s, u"SkipNext"_s),
        item(1, 28382, u"Sona &Git\tCtrl+End"_s, u"GOBOTTOM"_s, u"Son yem maddesine git"_s),
        submenu(0, 28383, u"&Araçlar"_s, u"ARAÇLAR_"_s, u"Muhtelif kolon ve satır işlemleri "_s),
        item(1, 28384, u"&Hesap Makinesi"_s, u"WIN_HESMAK"_s, u"Hesap makinesini çağır"_s),
        separator(1),
        item(1, 28386, u"Kolon &Aritmetiği"_s, u"COLMATHBM"_s, u"Seçili kolona dörtişlem uygula"_s),
        item(1, 28387, u"&Besin Maddesi Bağla"_s, u"BMBAGLA"_s, u"Bir satır boyunca bir BM'ye bağlı olarak muhtevaları değiştir"_s),
        submenu(0, 28388, u"&Pencere"_s, u"WINDOW"_s, u"Alt pencereyi düzenle"_s),
        item(1, 28389, u"&Küçült"_s, u"WINDOWCASCADE"_s, u"Referans matris yazım penceresini küçült"_s, u"WindowCascade"_s),
        separator(1),
        item(1, 28391, u"&Diz..."_s, u"WINDOWTILE"_s, u"Referans matris yazım penceresini dizili olarak düzenle"_s, u"WindowTile"_s),
        submenu(0, 28392, u"&Yardım"_s, u"HELP"_s, u"Yardım"_s),
        item(1, 28393, u"&İndeks\tF1"_s, u"HELPINDEX"_s, u"Yardım indeksi"_s, u"Help_Index"_s),
        item(1, 28394, u"İçin&dekiler\tF2"_s, u"HELPCONTENTS"_s, u"İçindekiler listesi"_s),
        item(1, 28395, u"İl&gili Yardım\tF3"_s, u"CONTEXTHELP"_s, u"İlgili yardım"_s, u"Help_ContextHelp"_s),
        separator(1),
        item(1, 28397, u"&Hakkında...\tF4"_s, u"OHAKKINDA"_s, u"VEXO 2.6 Hakkında..."_s),
    };
    t.keys = {
        {ctrl(Qt::Key_X), 28366}, {ctrl(Qt::Key_C), 28367}, {ctrl(Qt::Key_V), 28368},
        {ctrl(Qt::Key_Home), 28379}, {ctrl(Qt::Key_End), 28382}, {QKeySequence(Qt::Key_F1), 28393},
        {QKeySequence(Qt::Key_F2), 28394}, {QKeySequence(Qt::Key_F3), 28395}, {QKeySequence(Qt::Key_F4), 28397},
    };
    t.tools = {
        {3, 28364, u"Çıkış"_s},
        {4, 28362, u"Kaydet"_s},
        toolSeparator(),
        {101, 28366, u"Kes"_s},
        {31, 28367, u"Kopyala"_s},
        {102, 28368, u"Yapıştır"_s},
        {69, 28372, u"Yem Maddesi ekle"_s},
        {121, 28374, u"Yem Maddesi sil"_s},
        toolSeparator(),
        {129, 28379, u"Başa git"_s},
        {127, 28380, u"Bir önceki kayda git"_s},
        {128, 28381, u"Sonraki kayda git"_s},
        {130, 28382, u"Sona git"_s},
        toolSeparator(),
        {48, 28384, u"Hesap makinesi"_s},
        {89, 28386, u"Kolon aritmetiği"_s},
        toolSeparator(),
        {120, 28393, u"Yardım indeksi"_s},
    };
    return t;
}

} // namespace vexo
