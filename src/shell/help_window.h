#pragma once

#include <QDialog>

class QTextBrowser;

namespace vexo {

// The program's help: Turkish pages compiled in; every topic the program names opens its page
// (help_topics.h). A topic without a page opens the index instead and answers false.
class HelpWindow : public QDialog
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *owner);

    bool showTopic(const QString &topic);
    QString shownTopic() const { return topic_; }
    QTextBrowser *browser() const { return browser_; }

    // The page of a topic (its resource path), empty when there is none.
    static QString pageOf(const QString &topic);

private:
    QTextBrowser *browser_ = nullptr;
    QString topic_;
};

} // namespace vexo
