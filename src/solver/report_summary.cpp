#include "solver/report_summary.h"

#include "platform/clock.h"
#include "problem/app_globals.h"
#include "problem/number_text.h"
#include "problem/open_problem.h"
#include "reports/report_file.h"

#include <QDir>

#include <algorithm>

namespace vexo {

namespace {

const QString kIndent(7, u' ');

QString rule()
{
    return kIndent + QString(25, u'-') + u' ' + QString(11, u'-') + u' ' + QString(10, u'-');
}

QString tableLine(const QString &name, const QString &percent, const QString &mixer)
{
    return kIndent + name.leftJustified(25, u' ', true) + u' ' + percent.rightJustified(11) + u' '
           + mixer.rightJustified(10);
}

QString trimmedRight(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1).isSpace())
        --n;
    return s.left(n);
}

} // namespace

SummaryTexts summaryTexts(const ReportInput &in, const QDateTime &now)
{
    SummaryTexts out;
    QString &text = out.text;
    QString &body = out.pdfBody;
    auto both = [&](const QString &line) {
        text += reportLine(line);
        body += reportLine(line);
    };
    const double m = Val(in.mixer);
    out.company = trimmedRight(in.company);
    out.dateLine = QStringLiteral("Tarih: ") + dateText(now.date()) + QStringLiteral(" - ") + QStringLiteral("Saat: ")
                   + timeText(now.time());

    text += reportLine(centred(QStringLiteral("VEXO_Zud S 2.6"), 100));
    text += blankReportLine();
    text += reportLine(centred(out.company, 100));
    text += reportLine(centred(out.dateLine, 100));
    text += blankReportLine();

    both(kIndent + QStringLiteral("KARMA YEM ADI: ") + trimmedRight(in.feedName));
    both(kIndent + QStringLiteral("HAZIRLAYAN: ") + trimmedRight(in.preparer));
    text += blankReportLine();

    if (!in.optimum) {
        // The shares a solve without an optimum ends on break the limits and are no formula, yet a
        // table of them with its total and mixer quantities would read as a mixing sheet. So the
        // sheet says, in the detailed report's words, where the table would start, that there is no
        // formula, and lists nothing to weigh out; the detailed report shows that mix with every
        // broken limit marked.
        both(kIndent + QStringLiteral("ÇÖZÜM DURUMU: Optimum Çözüm Bulunamadı."));
        both(kIndent + QStringLiteral("Sınırlık ve imkanlari kontrol ediniz..."));
        text += blankReportLine();
        both(centred(QStringLiteral("<>"), 100));
        return out;
    }

    both(kIndent + centred(QStringLiteral("Yem Maddesi"), 25) + u' ' + centred(QStringLiteral("Çözüm"), 11) + u' '
         + centred(QStringLiteral("Mikser"), 10));
    both(kIndent + centred(QStringLiteral("Adı"), 25) + u' ' + centred(QStringLiteral("%"), 11) + u' '
         + centred(QStringLiteral("Girişi"), 10));
    both(rule());

    // Largest share first; equal shares keep the column order.
    std::vector<const ReportInput::Column *> chosen;
    for (const ReportInput::Column &c : in.columns) {
        if (c.x > 0.0)
            chosen.push_back(&c);
    }
    std::stable_sort(chosen.begin(), chosen.end(),
                     [](const ReportInput::Column *a, const ReportInput::Column *b) { return a->x > b->x; });
    double sumX = 0.0;
    double sumQ = 0.0;
    for (const ReportInput::Column *c : chosen) {
        const double q = c->x * m;
        both(tableLine(c->name, Str(MROUND(c->x * 100.0, 3), 11, 3), Str(MROUND(q, 2), 10, 2)));
        sumX += c->x;
        sumQ += q;
    }
    both(rule());
    both(tableLine(QStringLiteral("TOPLAM:"), Str(sumX * 100.0, 11, 3), Str(MROUND(sumQ, 2), 10, 2)));
    text += blankReportLine();
    both(centred(QStringLiteral("<>"), 100));
    return out;
}

OzetRapor &AOZETRAPOR()
{
    static OzetRapor rapor;
    return rapor;
}

QString summaryBodyPath()
{
    return QDir(appGlobals().CVERIKOK).filePath(QStringLiteral("PDF_Out/pdfteks1.txt"));
}

QString solutionReportPath()
{
    const QString base = PROBFILEBASE();
    return base.isEmpty() ? QString() : base + QStringLiteral(".TXT");
}

bool SONUCOZET(QWidget *owner, const ReportInput &in)
{
    const SummaryTexts texts = summaryTexts(in, clock().now());
    OzetRapor &rapor = AOZETRAPOR();
    rapor = OzetRapor{};
    rapor.company = texts.company;
    rapor.dateLine = texts.dateLine;
    if (in.format == 1) {
        // The body file is not a report the pad shows, so it is not the last report; the PDF
        // document made from it will be.
        const QString body = summaryBodyPath();
        if (appGlobals().CVERIKOK.isEmpty() || !writeReportFile(body, texts.pdfBody)) {
            reportWriteFailed(owner);
            return false;
        }
        rapor.chapterTitle = QStringLiteral("ÇÖZÜM SONUÇLARI :");
        rapor.bodyFile = body;
        return true;
    }
    return RFILEANDTEXT(owner, solutionReportPath(), texts.text);
}

} // namespace vexo
