#include "reports/pad_window.h"

#include "controls/edit_subclasses.h"
#include "controls/menu_builder.h"
#include "platform/file_dialogs.h"
#include "platform/message_sink.h"
#include "platform/process_launcher.h"
#include "problem/app_globals.h"
#include "problem/file_names.h"
#include "problem/messages.h"
#include "problem/system_queries.h"
#include "reports/last_report.h"
#include "reports/margin_dialog.h"
#include "reports/pad_document.h"
#include "reports/pad_font.h"
#include "reports/pad_menus.h"
#include "reports/pad_print.h"
#include "reports/pad_rich_edit.h"
#include "reports/pad_ruler.h"
#include "reports/pad_rules.h"
#include "reports/report_file.h"
#include "resources/resource_library.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHash>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScrollBar>

namespace vexo {

namespace {

// The pad's commands; the alignment items have names of their own that only the menu-command
// handler knows.
const std::vector<std::pair<QString, void (*)(PADWIN &)>> &padCommands()
{
    static const std::vector<std::pair<QString, void (*)(PADWIN &)>> commands = {
        {QStringLiteral("CLOSE"), [](PADWIN &p) { p.CLOSE(); }},
        {QStringLiteral("CLOSEALL"), [](PADWIN &p) { p.CLOSEALL(); }},
        {QStringLiteral("RTFSAVE"), [](PADWIN &p) { p.RTFSAVE(); }},
        {QStringLiteral("RTFSAVEAS"), [](PADWIN &p) { p.RTFSAVEAS(); }},
        {QStringLiteral("FILEPRINT"), [](PADWIN &p) { p.FILEPRINT(); }},
        {QStringLiteral("SETFONT"), [](PADWIN &p) { p.SETFONT(); }},
        {QStringLiteral("SETMARGINS"), [](PADWIN &p) { p.SETMARGINS(); }},
        {QStringLiteral("CUT"), [](PADWIN &p) { p.CUT(); }},
        {QStringLiteral("COPY"), [](PADWIN &p) { p.COPY(); }},
        {QStringLiteral("PASTE"), [](PADWIN &p) { p.PASTE(); }},
        {QStringLiteral("SELECTALL"), [](PADWIN &p) { p.SELECTALL(); }},
        {QStringLiteral("WIN_HESMAK"), [](PADWIN &p) { p.WIN_HESMAK(); }},
    };
    return commands;
}

const QHash<QString, int> &alignmentCommands()
{
    static const QHash<QString, int> commands = {
        {QStringLiteral("YAZıM_DÜZENLE_SOL"), 1},
        {QStringLiteral("YAZıM_DÜZENLE_SAĞ"), 2},
        {QStringLiteral("YAZıM_DÜZENLE_ORTA"), 3},
    };
    return commands;
}

const QString kSaved = QStringLiteral("Dosya başarıyla kaydedildi!");

} // namespace

PADWIN::PADWIN(QWidget *owner)
    : QWidget(owner)
{
    setObjectName(QStringLiteral("PADWIN"));
    setWindowIcon(ResourceLibrary::icon(QStringLiteral("IDI_COCPADICON")));
    m_edit = new QVRICHEDIT(this);
    m_edit->setGeometry(10, 10, 2, 2);
    setFocusProxy(m_edit);
    setWindowTitle(QStringLiteral("DataWindow Caption"));
    POSTINIT();
    connect(m_edit, &QTextEdit::textChanged, this, &PADWIN::EDITCHANGE);
    connect(m_edit, &QVRICHEDIT::escapePressed, this, [this] { CLOSE(); });

    for (const auto &[name, command] : padCommands())
        m_commands.add(name, [this, command = command] { command(*this); });
    for (const QString &name : alignmentCommands().keys())
        m_commands.add(name, [this, name] { MENUCOMMAND(name); });
    m_context = std::make_unique<BuiltMenu>(edContMenu(), [this](const QString &command) {
        runChildCommand(*this, command);
    });
    m_edit->setContextMenuFactory([this] { return m_context->popup(); });
}

PADWIN::~PADWIN() = default;

void PADWIN::POSTINIT()
{
    NLEFTMARGIN = 0;
    NRIGHTMARGIN = kPadPageTwips;
    m_edit->document()->setModified(false);
    m_edit->setTextLimit(kPadTextLimit);
    INITAPPEARANCE();
    NWIDTH = rulerPageEdge(logicalDpiX());
    // The control takes the pad's font as its default for the whole text.
    const QFont font = CREATEFONT(14, 14).controlFont();
    m_edit->document()->setDefaultFont(font);
    QTextCharFormat format;
    format.setFont(font, QTextCharFormat::FontPropertiesAll);
    m_edit->setCurrentCharFormat(format);
}

void PADWIN::INITAPPEARANCE()
{
    NWIDTH = kPadPageTwips;
    m_edit->setLineWrapColumnOrWidth(padLineWidth(logicalDpiX()));
    QTextCharFormat format;
    format.setFontFamilies({QStringLiteral("Arial")});
    format.setFontPointSize(10);
    format.setFontWeight(QFont::Normal);
    format.setFontItalic(false);
    format.setFontUnderline(false);
    format.setFontStrikeOut(false);
    format.setVerticalAlignment(QTextCharFormat::AlignNormal);
    m_edit->setCurrentCharFormat(format);
}

void PADWIN::setCFNAME(const QString &name)
{
    m_name = name;
    setWindowTitle(name);
}

bool PADWIN::loadFile(const QString &path)
{
    m_loading = true;
    const bool ok = loadPadFile(path, m_edit->document());
    m_edit->moveCursor(QTextCursor::Start);
    // The insertion point sits at the first paragraph's indent; the view still opens at the left edge
    // and the top.
    m_edit->horizontalScrollBar()->setValue(0);
    m_edit->verticalScrollBar()->setValue(0);
    m_loading = false;
    return ok;
}

void PADWIN::setPlainText(const QString &text)
{
    m_loading = true;
    setPadPlainText(m_edit->document(), text);
    m_edit->moveCursor(QTextCursor::Start);
    m_loading = false;
}

QString PADWIN::plainText() const
{
    return padPlainText(*m_edit->document());
}

void PADWIN::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawPadRuler(painter, width(), height(), NWIDTH);
}

void PADWIN::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_edit) {
        const QRect client = rect();
        m_edit->setGeometry(client.left(), client.top() + kPadRulerHeight, client.width(),
                            client.height() - kPadRulerHeight);
        update();
    }
}

void PADWIN::EDITCHANGE()
{
    if (m_loading)
        return;
    m_changed = true;
    emit edited(this);
}

bool PADWIN::MENUCOMMAND(const QString &name)
{
    const auto it = alignmentCommands().constFind(name);
    if (it == alignmentCommands().constEnd())
        return false;
    RTFALIGN(*it);
    return true;
}

void PADWIN::RTFALIGN(int alignment)
{
    switch (alignment) {
    case 1:
        m_edit->setAlignment(Qt::AlignLeft);
        break;
    case 2:
        m_edit->setAlignment(Qt::AlignRight);
        break;
    case 3:
        m_edit->setAlignment(Qt::AlignHCenter);
        break;
    default:
        break;
    }
}

void PADWIN::COPY()
{
    m_edit->copy();
}

void PADWIN::CUT()
{
    m_edit->cut();
}

void PADWIN::PASTE()
{
    m_edit->paste();
}

void PADWIN::SELECTALL()
{
    m_edit->selectAll();
}

void PADWIN::FILEPRINT()
{
    QPrinter &printer = padPrinter();
    if (printDialogs().print(this, printer))
        printPadDocument(*m_edit->document(), printer, padLineWidth(logicalDpiX()));
}

void PADWIN::SETFONT()
{
    m_edit->RTFCHANGEFONT();
}

void PADWIN::SETMARGINS()
{
    MARGINDIALOG dialog(this);
    if (dialog.exec() == 0)
        return;
    const PadIndents indents = marginIndents(dialog.DCSLELM()->text(), dialog.DCSLERM()->text());
    m_edit->setIndents(indents.left, indents.right);
}

bool PADWIN::saveTo(const QString &path, bool rich)
{
    if (!savePadFile(path, *m_edit->document(), rich)) {
        reportWriteFailed(this);
        return false;
    }
    if (!rich) {
        // The saved text belongs to the saved file: both become the last report together.
        lastReport().recordText(path, QString(plainText()).replace(u'\n', QStringLiteral("\r\n")));
        emit statusMessage(kSaved);
    }
    m_changed = false;
    return true;
}

bool PADWIN::RTFSAVE()
{
    if (isUntitledName(m_name))
        return RTFSAVEAS();
    return saveTo(appGlobals().CVERIDIZIN + u'/' + m_name, isRichName(m_name));
}

bool PADWIN::RTFSAVEAS()
{
    const QString folder = appGlobals().CVERIDIZIN;
    int filter = 1;
    const QString chosen = fileDialogs().saveFileWithFilter(this, QStringLiteral("Farklı Kaydet"),
                                                            folder + u'/' + m_name, padSaveFilters(), filter);
    VXODEFAULTS();
    if (chosen.isEmpty())
        return false;
    const QString path = completeSaveName(chosen, filter);
    if (QFileInfo::exists(path)
        && !askYesNo(this, QStringLiteral("Uyarı..."),
                     GETFILENAME(path) + QStringLiteral(" dosyası mevcut!") + QStringLiteral("\n\n")
                         + QStringLiteral("Üzerine yazılsın mı?")))
        return false;
    if (!saveTo(path, isRichName(SFILEEXT(path))))
        return false;
    setCFNAME(GETFILENAME(path));
    return true;
}

bool PADWIN::SONKONT()
{
    if (!m_changed)
        return true;
    const MessageAnswer answer = showMessage(
        this, QStringLiteral("Uyarı..."),
        windowTitle() + QStringLiteral(" dosyasındaki metin değişti.") + QStringLiteral("\n\n")
            + QStringLiteral("Kaydetmek istiyor musunuz?"),
        MB_YESNOCANCEL | MB_ICONQUESTION);
    switch (answer) {
    case MessageAnswer::Yes:
        // A save that did not happen (dialog cancelled, write failed) keeps the pad open.
        return RTFSAVE();
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

bool PADWIN::CLOSE()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        return frame->close();
    return close();
}

void PADWIN::closeEvent(QCloseEvent *event)
{
    if (!SONKONT()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed(this);
}

void PADWIN::CLOSEALL()
{
    emit closeAllRequested();
}

void PADWIN::WIN_HESMAK()
{
    launchCalculator();
}

} // namespace vexo
