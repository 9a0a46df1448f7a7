#include "shell/tip_of_the_day.h"

#include <iterator>

namespace vexo {

namespace {

// Tips 1 to 19 explain least-cost formulation by linear programming; the rest are about this
// program's entry windows and the reading of its reports.
const char16_t *const kTips[] = {
    u"Bilgisayarda En Düşük Maliyetli Yem Formülü Hazırlamada en yaygın yöntem Doğrusal Programlama'dır (DP). DP, yem maddelerinin fiyatlarını, besin maddesi içeriklerini ve hayvanın ihtiyaçlarını birlikte ele alarak tüm sınırları sağlayan en ucuz karmayı bulur.",
    u"DP ile yem formülü hazırlamada; çözüm sonuçunda yalnızca formül değil, sağlanan besin maddesi düzeyleri, sınırlıkların gölge fiyatları ve karmaya girmeyen yem maddelerinin giriş fiyatları da elde edilir. Bu bilgiler formülü değerlendirmede çok değerlidir.",
    u"Giriş İçin Marjinal Fiyat Değişikliği düşülerek elde edilen fiyat, karmaya girmeyen bir yem maddesinin formüle girebilmesi için satın alınabileceği en yüksek fiyattır. Fiyatı bu değerin altına inen madde çözümde yer almaya başlar.",
    u"DP ile çözüm sonucunda yeme girmeyen bir yem maddesinin fırsat maliyeti, o maddeden karmaya bir birim zorla katılmasının karma maliyetini ne kadar artıracağını gösterir. Fiyatı bu miktardan fazla düşerse madde karmaya girer.",
    u"DP ile yem formulasyonuda elde edilen bilgilerden biri de karmaya giren yem maddelerinin fiyat aralıklarıdır. Bir maddenin fiyatı bu aralıkta değiştiği sürece formülün bileşimi aynı kalır; yalnızca karma maliyeti değişir.",
    u"Gölge Fiyat; besin maddesi ihtiyaç seviyesindeki bir birimlik değişikliğin karma yem maliyetinde yaratacağı değişikliktir. Bağlayıcı olmayan, yani sınırından uzakta kalan sınırlıkların gölge fiyatı sıfırdır.",
    u"DP ile yem formülü hazırlanırken; bir yem maddesinin karmadaki payı alt ve üst sınırlarla kısıtlanabilir. Lezzeti, fiziksel yapısı veya içerdiği zararlı maddeler nedeniyle bazı yem maddelerine üst sınır vermek gerekir.",
    u"DP ile yem formülü hazırlanırken, yem maddeleri besin maddesi içerikleri ve fiyatlarıyla birbirleriyle yarışır. Besin maddelerini en ucuza sağlayan yem maddeleri karmaya öncelikle girer; pahalı kalanlar dışarıda kalır.",
    u"DP ile yem formülasyonunda, yem maddeleri kompozisyonu doğru bilinmelidir. Mümkünse tablo değerleri yerine laboratuvar analiz sonuçları kullanılmalıdır; hatalı besin maddesi değerleriyle hesaplanan formül de hatalı olur.",
    u"DP ile yem formülasyonunda, besin maddesi faktörleri yem maddelerinin birim miktarındaki besin maddesi içerikleridir ve matrisin katsayılarını oluşturur. Faktörler ile ihtiyaçlar aynı birimle (%, Mcal/kg gibi) verilmelidir.",
    u"DP ile yem formülü hazırlanırken, birden fazla karma aynı anda formüle edilebilir. Bu çoklu karma yönteminde, miktarı sınırlı yem maddeleri karmalar arasında toplam maliyet en düşük olacak biçimde paylaştırılır.",
    u"DP ile yem formülasyonunda; hayvanların günlük besin maddesi ihtiyaçları, beklenen günlük yem tüketimine bölünerek karmadaki yoğunluklara çevrilir. Optimum yoğunluk çalışmasında enerji düzeyi de değiştirilerek en ekonomik yoğunluk aranır.",
    u"Yem formülasyonu amaçlı DP probleminde; Amaç fonksiyonu, karmaya giren yem maddelerinin miktarları ile birim fiyatlarının çarpımlarının toplamıdır, yani bir birim karma yemin maliyetidir; DP bu değerin en küçüğünü arar.",
    u"DP'nın en önemli sonuçlarından birisi de Hassasiyet (duyarlılık) analizidir. Bu analiz, fiyatlar ve besin maddesi sınırları değiştiğinde bulunan çözümün ne ölçüde geçerli kalacağını ve maliyetin nasıl değişeceğini gösterir.",
    u"Parametrik fiyat değişimi çalışmasında; bir yem maddesinin fiyatı adım adım artırılıp azaltılarak problem her adımda yeniden çözülür. Böylece o maddenin karmadaki miktarının fiyatına göre nasıl değiştiği görülür.",
    u"Parametrik Fiyat Değişikliği; grafik bir çalışma olup bir yem maddesinin fiyatına karşılık karmadaki kullanım miktarını gösterir. Bu basamaklı eğriden, maddenin hangi fiyat aralığında ne kadar kullanılacağı okunur.",
    u"Parametrik besin maddesi değişimi; Gölge Fiyata bakarak bir besin maddesi ihtiyacının adım adım değiştirilmesi ve her adımda maliyetin izlenmesidir. Gölge fiyat yalnızca belirli bir aralıkta geçerli olduğundan bu çalışma önemlidir.",
    u"Çoklu karma işleminde işin en zor yanı, stoğu sınırlı yem maddelerinin karmalar arasında paylaştırılmasıdır. Her karmayı ayrı ayrı en ucuz hale getirmek, toplam maliyeti her zaman en düşük yapmaz.",
    u"DP ile yem formülasyonunda çözümsüzlüğün temel sebeplerinden biri birbiriyle çelişen sınırlardır: alt sınırlarının toplamı %100'ü aşan yem maddeleri ya da eldeki yem maddeleriyle karşılanamayacak kadar yüksek besin maddesi ihtiyaçları çözümü imkansız kılar.",
    u"VEXO_Zud; DP metotları kullanan bir En Düşük Maliyetli Karma Yem Formülü Hazırlama programıdır. Yem maddeleri, besin maddeleri, oranlar, gruplar ve aktif matris girilir; program simpleks yöntemiyle en ucuz formülü hesaplar.",
    u"VEXO_Zud'da bir problem (yem formülü hazırlama) için tüm bilgiler tek bir veri dosyasında (.VKD) saklanır. Yeni bir problem Dosya menüsündeki Yeni komutuyla açılır; ardından yem maddeleri, besin maddeleri ve matris girilir.",
    u"VEXO_Zud'da yem maddeleri bilgileri girilirken, yem maddelerine fiyat, sabit pay, alt ve üst sınır verilebilir. Sınırlar karmadaki yüzde olarak girilir; fiyatı girilmeyen ya da stokta olmayan yem maddeleri çözüme alınmaz.",
    u"VEXO_Zud'da yem maddeleri bilgileri girilirken, ilk etapta sınır vermeden bir çözüm almak yararlıdır. Böylece programın hangi maddeleri seçtiği görülür; ardından gereken alt ve üst sınırlar eklenerek formül adım adım iyileştirilir.",
    u"VEXO_Zud'da yem maddeleri girişinde Üst sınır verme, ucuz fakat kullanımı sınırlanması gereken maddeler için gereklidir. Örneğin pamuk tohumu küspesi gossipol içerdiğinden kanatlı yemlerinde düşük bir üst sınırla kullanılmalıdır.",
    u"VEXO_Zud'da karma yem formülü hazırlamada; besin maddesi ihtiyaçları sabit değer, alt sınır veya üst sınır olarak verilebilir. Sabit değer bir eşitlik kısıtı oluşturur ve çözümü daraltır; mümkünse alt ve üst sınır kullanılmalıdır.",
    u"VEXO_Zud'da besin maddeleri girişinde; AGIRLIK değişkenine genelde 1 sabit değeri verilir. Her yem maddesi bu besin maddesinden 1.0000 içerdiği için bu satır, karmadaki yem maddesi paylarının toplamını bire eşitler; değiştirilmemelidir.",
    u"VEXO_Zud'da hazırlanacak yemin özellikleri besin maddesi girişinde belirlenir: her besin maddesinin adı, birimi ve istenen sabit değeri ya da alt ve üst sınırları Besin Maddesi Verileri penceresinde girilir.",
    u"VEXO_Zud'te besin maddesi ihtiyaçları ilgili girişte verilirken, değerlerin matristeki birimle aynı olmasına dikkat edilmelidir. Örneğin enerji Mcal/kg, ham protein % olarak tanımlandıysa ihtiyaçlar da bu birimlerle girilmelidir.",
    u"VEXO_Zud'da sınırlık verilmeyen fakat listede yer alan besin maddelerinin karmadaki düzeyleri de hesaplanır ve raporda gösterilir. Böylece kısıt koymadan, örneğin ham kül veya ham selüloz düzeyi izlenebilir.",
    u"VEXO_Zud'da matris girişi doğrudam program aracılığıyla yapılabilir: Aktif Matris Yazımı penceresinde her yem maddesinin besin maddesi içerikleri girilir. Boş bırakılan bir hücre çözümde sıfır olarak alınır.",
    u"VEXO_Zud'da NRC'ye ait matris, referans olarak kullanılmaktadır. Referans matristeki değerler düzenlenebilir, yeni yem ve besin maddeleri eklenebilir; veritabanı Referans Matris menüsünden yedeklenip yedekten geri alınabilir.",
    u"VEXO_Zud'da Besin maddesi bağlama işlemi aktif matris penceresinde, bir yem maddesinin ana besin maddesi içeriği değiştiğinde ona bağlı besin maddelerini aynı oranda değiştirir; örneğin ham protein değişince amino asitler de orantılı olarak güncellenir.",
    u"VEXO_Zud'da doğrudan oran girişi yapılabilmektedir. Besin maddesi Oranları penceresinde pay ve payda olacak iki besin maddesi seçilir ve aralarındaki oran sabit değer ya da alt ve üst sınır olarak verilir; Ca/P oranı buna iyi bir örnektir.",
    u"VEXO_Zud'da oran verilirken sabit olarak girilmelidir. Ancak oran belirli bir aralıkta kabul edilebiliyorsa, sabit değer yerine alt ve üst sınır verilmesi çözümü kolaylaştırır; maliyet artmaz, çoğu zaman düşer.",
    u"Oran girişi olmayan programlarda, besin maddeleri arasında istenen oran doğrusal bir kısıt olarak elle kurulmalıdır: örneğin Ca/P = 2 oranı, Ca - 2P = 0 biçiminde yeni bir satır olarak yazılır. VEXO_Zud bu dönüşümü kendisi yapar.",
    u"Bir VEXO_Zud çıktısında; Optimum çözüm bulundu ifadesi, tüm sınırlıkların sağlandığı en düşük maliyetli formülün elde edildiğini gösterir. Optimum çözüm bulunamadıysa, yıldızla işaretli sınırlıklar kontrol edilerek gevşetilmelidir.",
    u"VEXO_Zud'da Aktif problem matrisinde tüm yem maddelerinin, listedeki her besin maddesi için içerik değeri girilmiş olmalıdır. Boş bırakılan içerik sıfır kabul edildiğinden, o besin maddesinin karmadaki düzeyi olduğundan düşük hesaplanır.",
    u"Bir VEXO_Zud çıktısında; mevcut çözüm bölümünde yer alan Seçilen Yem Maddeleri tablosu, karmaya giren her yem maddesinin fiyatını, karmadaki yüzdesini ve mikser kapasitesine göre tartılacak miktarını büyükten küçüğe sıralı verir.",
    u"Bir VEXO_Zud çıktısında; Maliyet Durumu bölümünde rapor edilen Birim Maliyet, bir birim (örneğin 1 kg) karma yemin en düşük maliyetidir. Bu değer mikser kapasitesiyle çarpılarak bir mikserlik karmanın maliyeti bulunur.",
    u"Bir VEXO_Zud çıktısında; Giriş İçin Marjinal Fiyat Değişikliği (GİMFD) sütunu, seçilmeyen bir yem maddesinin fiyatının ne kadar düşmesi halinde karmaya girebileceğini gösterir. Değer büyüdükçe maddenin girme şansı azalır.",
    u"Bir VEXO_Zud çıktısında; Giriş için marjinal fiyat değişikliği fiyattan düşülerek Azami Fiyat sütunu elde edilir. Seçilmeyen bir yem maddesi bu fiyatın altında satın alınabilirse karmaya girmeye başlar.",
    u"VEXO_Zud'da, girişlerde sınırlık verilen yem ve besin maddeleri raporun Sınırlıklar bölümünde istenen ve hesaplanan değerleriyle birlikte listelenir; sınırında kalan satırlar için gölge fiyat da verilir.",
    u"VEXO_Zud'da Gölge Fiyat'dan yararlanarak karma yem maliyetini düşürmenin yolları aranabilir. Gölge fiyatı yüksek bir besin maddesinin ihtiyacı biraz gevşetilirse, maliyet yaklaşık olarak gölge fiyat ile değişim miktarının çarpımı kadar azalır.",
    u"Karmaya girmeyen bir yem maddesi, 'Giriş İçin Marjinal Fiyat Değişikliği' kadar ucuzlarsa formüle girmeye başlar. Bu nedenle fiyat teklifleri değerlendirilirken rapordaki Azami Fiyat sütunu bir alım sınırı olarak kullanılabilir.",
};

} // namespace

QList<TipRow> CREATETIPARRAY()
{
    QList<TipRow> table;
    table.reserve(std::size(kTips));
    for (const char16_t *text : kTips)
        table.append({QStringLiteral("Biliyor muydunuz?"), QString::fromUtf16(text), true});
    return table;
}

} // namespace vexo
