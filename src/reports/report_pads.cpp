#include "reports/report_pads.h"

#include "controls/menu_builder.h"
#include "platform/cp1254_codec.h"
#include "platform/file_dialogs.h"
#include "platform/message_sink.h"
#include "problem/app_globals.h"
#include "problem/file_names.h"
#include "problem/messages.h"
#include "problem/open_problem.h"
#include "problem/solution_stamp.h"
#include "problem/system_queries.h"
#include "reports/last_report.h"
#include "reports/pad_document.h"
#include "reports/pad_menus.h"
#include "reports/pad_print.h"
#include "reports/pad_rules.h"
#include "reports/pad_window.h"
#include "reports/pdf_summary.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace vexo {

namespace {

const QString kWarning = QStringLiteral("Uyarı...");
const QString kOlderReportQuestion =
    QStringLiteral("Son rapor, problem en son çözülmeden ya da değiştirilmeden önce hazırlandı; "
                   "güncel çözümü göstermiyor.\n\nYeni bir çözüm raporu hazırlamak ister misiniz?");

// The pad list of the current main window. It is no child of the window: the window's registry is
// gone before the window's children are, so the list leaves it while the window still is the host.
std::unique_ptr<ReportPads> g_pads;

void dropPads()
{
    g_pads.reset();
}

} // namespace

ReportPads::ReportPads(ShellHost &host)
    : m_host(host)
    , m_window(host.mainWindow())
{
    setObjectName(QStringLiteral("ReportPads"));
    m_host.addCloseParticipant(this);
    m_host.setDropHandler([this](const QStringList &paths) { DROP(paths); });
    const std::vector<std::pair<QString, std::function<void()>>> own = {
        {QStringLiteral("RE_FILENEW"), [this] { RE_FILENEW(); }},
        {QStringLiteral("RE_FILEOPEN"), [this] { RE_FILEOPEN(); }},
        {QStringLiteral("FILEPRINTERSETUP"), [this] { FILEPRINTERSETUP(); }},
        {QStringLiteral("RE_CONTEXTHELP"), [this] { RE_CONTEXTHELP(); }},
    };
    for (const auto &[name, handler] : own)
        m_commands.add(name, handler);
    // The pad menu's widgets go with the main window, while the application is still there for them.
    if (m_window)
        connect(m_window, &QObject::destroyed, this, [this] {
            m_menu.reset();
            m_pads.clear();
        });
    if (QMdiArea *canvas = m_host.canvas()) {
        // One pad menu serves every pad: "&Kaydet" follows the pad that becomes current.
        connect(canvas, &QMdiArea::subWindowActivated, this, [this] {
            if (PADWIN *pad = activePad(); pad && m_menu)
                m_menu->setEnabled(kPadSaveItem, pad->LCHANGE());
        });
    }
}

ReportPads::~ReportPads()
{
    // A main window that is going has already left its place as the host; nothing of it may be used.
    if (shellHost() == &m_host && m_window) {
        m_host.removeCloseParticipant(this);
        m_host.setDropHandler({});
    }
}

BuiltMenu *ReportPads::padMenu() const
{
    return m_menu.get();
}

BuiltMenu &ReportPads::ensurePadMenu()
{
    if (!m_menu) {
        m_menu = std::make_unique<BuiltMenu>(standardPadMenu(), [this](const QString &command) { dispatch(command); });
        for (PADWIN *pad : GETCHILDWINDOWS())
            pad->setChildMenu(m_menu.get());
    }
    return *m_menu;
}

void ReportPads::dispatch(const QString &command)
{
    // The current pad's own commands first, then the list's, then the main window's.
    if (PADWIN *pad = activePad(); pad && pad->runCommand(command))
        return;
    if (m_commands.run(command))
        return;
    m_host.runCommand(command);
}

void ReportPads::REPORTPAD()
{
    const QString last = lastReport().CSONRAPOR();
    const bool exists = !last.isEmpty() && QFileInfo(last).isFile();
    // A text or rich-text report opens in a pad. After a PDF summary the last report is that
    // document: it opens in the viewer, as the solve showed it, and no pad is made for it.
    const bool report = exists && isPadDocumentName(last);
    const bool document = exists && !report && last.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
    // A solution report of an earlier solve is not shown as the current one without a word; a new
    // solve asks the report data again, writes a new report and opens that one.
    if ((report || document) && lastReport().olderThan(solutionStamp(openProblem()))
        && askYesNo(m_host.mainWindow(), kWarning, kOlderReportQuestion, MB_ICONEXCLAMATION)) {
        m_host.runCommand(QStringLiteral("COZUM"));
        return;
    }
    if (document) {
        showSummaryDocument(last);
        return;
    }
    m_host.showMenu(&ensurePadMenu());
    if (report)
        RE_NEWEDITWINDOW(last);
    else
        RE_FILENEW();
    // Nothing opened (the limit, an unreadable file): the main menu stays.
    if (m_pads.isEmpty() && m_menu)
        RETURNTOMAIN();
}

bool ReportPads::RE_NEWEDITWINDOW(const QString &path, bool readOnly)
{
    Q_UNUSED(readOnly);
    QWidget *owner = m_host.mainWindow();
    auto *pad = new PADWIN;
    pad->setCFNAME(GETFILENAME(path));
    pad->setChildMenu(&ensurePadMenu());
    RE_ADDCHILD(pad);

    const QString name = pad->CFNAME();
    const auto unreadable = [&] {
        // A pad whose document cannot be read is not kept.
        m_pads.removeAll(pad);
        delete pad;
        ERRMESS(owner, QStringLiteral("Hata..."), name + QStringLiteral(" dosyası okunamıyor..."));
        if (m_pads.isEmpty())
            RETURNTOMAIN();
        return false;
    };
    if (isUntitledName(path)) {
        // A new document: nothing to load.
    } else if (isRichName(path)) {
        if (!pad->loadFile(path))
            return unreadable();
    } else if (path.right(3).toUpper() == QStringLiteral("TXT")) {
        if (path == lastReport().CSONRAPOR()) {
            pad->setPlainText(padTextFromReport(lastReport().CSONRAPORMETNI()));
        } else {
            QFile file(path);
            const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            if (bytes.isEmpty())
                return unreadable();
            const QString text = padTextFromBytes(bytes);
            // The text read becomes the last report together with its own file.
            lastReport().recordText(path, Cp1254Codec::decode(bytes));
            pad->setPlainText(text);
        }
    }

    connect(pad, &PADWIN::edited, this, [this] {
        if (m_menu)
            m_menu->enable(kPadSaveItem);
    });
    connect(pad, &PADWIN::closed, this, [this](PADWIN *closed) { RE_REMOVECHILD(closed); });
    connect(pad, &PADWIN::closeAllRequested, this, [this] { CLOSINGCHILD(); });
    connect(pad, &PADWIN::statusMessage, this, [this](const QString &text) { m_host.setStatusText(text); });

    if (QMdiArea *canvas = m_host.canvas()) {
        QMdiSubWindow *frame = canvas->addSubWindow(pad);
        frame->setAttribute(Qt::WA_DeleteOnClose);
        frame->setWindowIcon(pad->windowIcon());
        const QSize area = canvas->viewport()->size();
        frame->setGeometry(0, 0, area.width(), area.height());
        frame->show();
        canvas->setActiveSubWindow(frame);
    } else {
        pad->show();
    }
    pad->LCHANGE(false);
    ensurePadMenu().disable(kPadSaveItem);
    return true;
}

bool ReportPads::tooManyPads()
{
    if (GETCHILDWINDOWS().size() < kMaxPads)
        return false;
    showMessage(m_host.mainWindow(), kWarning, QStringLiteral("Dinamik hafızayı zorluyorsunuz..."),
                MB_OK | MB_ICONINFORMATION);
    return true;
}

bool ReportPads::RE_DOOPENFILE(const QString &path, bool readOnly)
{
    if (!isPadDocumentName(path)) {
        ERRMESS(m_host.mainWindow(), QString(),
                GETFILENAME(path) + QStringLiteral(" bir VEXO_Zud 2.6 rapor dosyası değil..."));
        return false;
    }
    if (tooManyPads())
        return false;
    return RE_NEWEDITWINDOW(path, readOnly);
}

bool ReportPads::RE_FILEOPEN()
{
    const QString folder = appGlobals().CVERIDIZIN;
    const QString path = fileDialogs().openFile(m_host.mainWindow(), QStringLiteral("Aç..."), folder,
                                                padOpenFilters().join(QStringLiteral(";;")));
    VXODEFAULTS();
    if (path.isEmpty())
        return false;
    // Pads keep only the name, so a file of the same name counts as open.
    const QString name = GETFILENAME(path);
    for (PADWIN *pad : GETCHILDWINDOWS()) {
        if (pad->windowTitle() == name) {
            showMessage(m_host.mainWindow(), kWarning, QStringLiteral("Bu dosya şu anda açık..."),
                        MB_OK | MB_ICONINFORMATION);
            return false;
        }
    }
    return RE_DOOPENFILE(path, false);
}

void ReportPads::RE_FILENEW()
{
    ++m_untitled;
    const QString name = untitledName(m_untitled);
    if (tooManyPads())
        return;
    RE_NEWEDITWINDOW(name);
}

void ReportPads::RE_ADDCHILD(PADWIN *pad)
{
    if (pad && !m_pads.contains(pad))
        m_pads.append(pad);
}

void ReportPads::RE_REMOVECHILD(PADWIN *pad)
{
    if (!m_pads.contains(pad))
        return;
    pad->hide();
    m_pads.removeAll(pad);
    m_pads.removeAll(nullptr);
    if (m_pads.isEmpty())
        RETURNTOMAIN();
}

void ReportPads::RETURNTOMAIN()
{
    m_host.showMenu(nullptr);
    m_host.MI_ENADISABLE();
    m_untitled = 0;
    m_pads.clear();
    // The menu may be the one whose item is running now: it goes when that item has finished.
    if (BuiltMenu *menu = m_menu.release())
        menu->deleteLater();
}

void ReportPads::DROP(const QStringList &paths)
{
    for (const QString &path : paths)
        if (QFileInfo(path).isFile())
            RE_DOOPENFILE(path, false);
}

void ReportPads::FILEPRINTERSETUP()
{
    printDialogs().setup(m_host.mainWindow(), padPrinter());
}

void ReportPads::RE_CONTEXTHELP()
{
    m_host.showHelp(helpKeyword());
}

int ReportPads::CLOSINGCHILD2()
{
    m_refused = false;
    int ended = 0;
    // Each pad's own close takes it off the list, so the walk goes over a copy.
    for (const QPointer<PADWIN> &pad : QList<QPointer<PADWIN>>(m_pads)) {
        if (!pad)
            continue;
        if (!pad->CLOSE()) {
            m_refused = true;
            break;
        }
        ++ended;
    }
    m_pads.removeAll(nullptr);
    return ended;
}

void ReportPads::CLOSINGCHILD()
{
    CLOSINGCHILD2();
    if (m_pads.isEmpty() && m_menu)
        RETURNTOMAIN();
}

bool ReportPads::closeAll()
{
    CLOSINGCHILD2();
    return !m_refused && m_pads.isEmpty();
}

QList<PADWIN *> ReportPads::GETCHILDWINDOWS() const
{
    QList<PADWIN *> pads;
    for (const QPointer<PADWIN> &pad : m_pads)
        if (pad)
            pads.append(pad.data());
    return pads;
}

PADWIN *ReportPads::GETCHILDWINDOW(const QString &name) const
{
    for (PADWIN *pad : GETCHILDWINDOWS())
        if (pad->objectName() == name)
            return pad;
    return nullptr;
}

PADWIN *ReportPads::activePad() const
{
    QMdiArea *canvas = m_host.canvas();
    QMdiSubWindow *frame = canvas ? canvas->currentSubWindow() : nullptr;
    auto *pad = frame ? qobject_cast<PADWIN *>(frame->widget()) : nullptr;
    return pad && m_pads.contains(pad) ? pad : nullptr;
}

ReportPads *reportPads()
{
    ShellHost *host = shellHost();
    if (!host)
        return nullptr;
    if (!g_pads || &g_pads->host() != host || !g_pads->window()) {
        const bool first = !g_pads;
        g_pads = std::make_unique<ReportPads>(*host);
        // The list itself goes with the application.
        if (first)
            qAddPostRoutine(dropPads);
    }
    return g_pads.get();
}

void installReportCommands()
{
    const std::vector<std::pair<QString, void (*)(ReportPads &)>> commands = {
        {QStringLiteral("REPORTPAD"), [](ReportPads &p) { p.REPORTPAD(); }},
        {QStringLiteral("RE_FILENEW"), [](ReportPads &p) { p.RE_FILENEW(); }},
        {QStringLiteral("RE_FILEOPEN"), [](ReportPads &p) { p.RE_FILEOPEN(); }},
        {QStringLiteral("FILEPRINTERSETUP"), [](ReportPads &p) { p.FILEPRINTERSETUP(); }},
        {QStringLiteral("RE_CONTEXTHELP"), [](ReportPads &p) { p.RE_CONTEXTHELP(); }},
        {QStringLiteral("CLOSINGCHILD"), [](ReportPads &p) { p.CLOSINGCHILD(); }},
    };
    for (const auto &[name, command] : commands)
        shellCommands().add(name, [command = command] {
            if (ReportPads *pads = reportPads())
                command(*pads);
        });
}

} // namespace vexo
