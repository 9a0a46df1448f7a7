#include "solver/problem_probe.h"

#include "platform/message_sink.h"
#include "problem/app_globals.h"
#include "problem/open_problem.h"
#include "problem/problem_file.h"
#include "problem/problem_loader.h"
#include "solver/ky_optimizer.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace vexo {

namespace {

// Answers every box with its default button and shows nothing.
class SilentMessages : public MessageSink
{
public:
    MessageAnswer show(const MessageRequest &r) override
    {
        return unattendedAnswer(r);
    }
    void tones(const QList<Tone> &) override {}
};

} // namespace

ProblemProbeEnd probeProblemBytes(const QByteArray &bytes)
{
    static QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("PROBE.VKD"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            return ProblemProbeEnd::Refused;
    }
    SilentMessages silent;
    MessageSink *previous = &messageSink();
    setMessageSink(&silent);
    const bool option = appGlobals().LRMDENOKU;
    appGlobals().LRMDENOKU = false;
    OpenProblem &p = openProblem();
    p.reset();
    ProblemProbeEnd end = ProblemProbeEnd::Refused;
    if (DATAFOPEN(nullptr, path)) {
        end = ProblemProbeEnd::NotLoaded;
        if (AKTPRODIZOLUSTUR(nullptr)) {
            // Whatever a file holds, the loaded lists are indexed in step; a solve would read past a
            // list otherwise.
            p.checkInvariants();
            KY_OPTIMIZER solver(nullptr, true);
            end = ProblemProbeEnd::Solved;
        }
    }
    p.reset();
    appGlobals().LRMDENOKU = option;
    setMessageSink(previous);
    return end;
}

} // namespace vexo
