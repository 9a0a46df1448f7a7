#include "solver/progress_sink.h"

namespace vexo {

namespace {

class SilentProgress : public ProgressSink
{
public:
    void open() override {}
    bool LDURDUR() const override { return false; }
    void COUNTER() override {}
    void close() override {}
};

ProgressFactory &factory()
{
    static ProgressFactory f;
    return f;
}

} // namespace

void setProgressFactory(ProgressFactory f)
{
    factory() = std::move(f);
}

std::unique_ptr<ProgressSink> makeProgress(QWidget *owner)
{
    if (factory())
        return factory()(owner);
    return std::make_unique<SilentProgress>();
}

} // namespace vexo
