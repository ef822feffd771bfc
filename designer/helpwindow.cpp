#include "helpwindow.h"

#include <QPlainTextEdit>
#include <QStringList>
#include <QVBoxLayout>

namespace {

// The text's lines, in order; the box shows each followed by a line end.
QStringList lines()
{
    return {
        QStringLiteral("Bir formu optik okuyucudan okutabilmek için, tanıtmak (fmt dosyasını "
                       "yazmak) gerekir."),
        QString(),
        QStringLiteral("Bu program ile yeni bir formu tanımlayabilir veya var olan bir form "
                       "üzerinde değişiklik yapabilirsiniz."),
        QString(),
        QStringLiteral("Program 2 bölümden oluşur. Form tasarımı, 1. bölüm ile yazarak, 2. bölüm "
                       "ile görsel olarak hazırlanabilir. Her iki bölüm de birlikte "
                       "çalıştığından, fmt' nin hangi bölümle oluşturulduğu önemli değildir. "
                       "Yani 1.bölümde yazılanları 2.bölümde görsel olarak görebilir, veya "
                       "2.bölümde tanımladıklarınızı 1.bölümde de görebilirsiniz. Form nerede "
                       "tanımlanırsa tanımlansın, saklamak için KAYDET tuşu kullanılmalıdır."),
        QString(),
        QStringLiteral("Önce tanımlanacak forma bir isim verilmelidir, veya varsa listeden "
                       "seçilmelidir."),
        QStringLiteral("Yeni bir form tanımlanıyorsa, isim yazıldıktan sonra TAB tuşuna basılır "
                       "ve kenarında kaç siyah çizgi olduğu doğru verilmeli ve bu çizgilerin "
                       "yönü belirtilmelidir."),
        QString(),
        QString(),
        QStringLiteral("1.BÖLÜM : Yazarak tanımlama "),
        QString(),
        QStringLiteral("Her bir bilgi hücresi için, bilgi giriş satırına değerleri yazılıp "
                       "SATIR_EKLE tuşu ile tabloya alınır."),
        QStringLiteral("Değiştirilmek istenen satır için tablo üzerinden bir kez tıklayıp, "
                       "gereken değişiklikler yapıldıktan sonra SATIR_EKLE tuşuna basılır."),
        QStringLiteral("Satır iptali için, tablo üzerinde (silinmesi istenen satır üzerinde iken) "
                       "çift tıklanır."),
        QStringLiteral("Satır eklemek için, önce eklencek yerde sol buton tıklanarak yeri "
                       "belirtilir ve sağ buton ile satır açılır."),
        QString(),
        QString(),
        QStringLiteral("2.BÖLÜM : Görsel tanımlama "),
        QString(),
        QStringLiteral("Bu bölüme geçmek için OPTİK_FORM_GÖRÜNTÜSÜ tuşuna basılır. (Siyah çizgi "
                       "adedi ve yönleri belirtilmiş olmalıdır.)"),
        QString(),
        QStringLiteral("Tasarım tamamıyle mouse yardımıyla yapılır."),
        QStringLiteral("Yeni bilgi alanı eklemek için, istenen yerde SOL butona basıp, mouse "
                       "gereken hücreye kadar hareket ettirilir. Bilgi alanı kırmızı ile "
                       "belirlenecektir. İşaretleme tamam olunca buton bırakılır ve açılan "
                       "pencereden buraya yerleşecek karakterler verilir ve yerleşim pozisyonu "
                       "belirtilir. YERLEŞTİR butonu ile karakterler yerlerinde görülecektir."),
        QStringLiteral("Bilgi alanını silmek için, sol üst köşesi üzerinde mouse'un SAĞ butonu "
                       "tıklanır ve onay penceresi açılır. Onay verildiğinde bu bilgi alanı "
                       "optik formdan okunmayacaktır."),
        QString(),
        QString(),
        QStringLiteral("DİKKAT : Siyah çizgileri sağda olan formlar için, değer karakterleri "
                       "ters verilmelidir."),
        QString(),
        QStringLiteral("NOT: Yapılanların geçerli olması için, kayıt etme unutulmamalıdır."),
    };
}

} // namespace

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("helpf"));
    setWindowTitle(QStringLiteral("Optik Form (fmt) Tasarımı"));
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setPlainText(lines().join(u'\n') + u'\n');
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text1);
    resize(640, 600);
}
