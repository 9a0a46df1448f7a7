#pragma once
// A PDF viewer that records what it was asked to open instead of starting a program.

#include "reports/pdf_summary.h"

#include <QStringList>

namespace vexo::test {

class RecordingViewer : public PdfViewer
{
public:
    RecordingViewer() { setPdfViewer(this); }
    ~RecordingViewer() override { setPdfViewer(nullptr); }
    RecordingViewer(const RecordingViewer &) = delete;
    RecordingViewer &operator=(const RecordingViewer &) = delete;
    bool open(const QString &path) override
    {
        opened << path;
        return starts;
    }
    QStringList opened;
    bool starts = true; // what the viewer answers: false as when no viewer program starts
};

} // namespace vexo::test
