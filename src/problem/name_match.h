#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace vexo {

// The answer of the name-matching dialog: Tamam with the chosen candidate's position (from 1) in
// the list that was given, İptal, or Altla.
struct NameMatchAnswer
{
    enum Result { Cancelled = 0, Chosen = 1, Skipped = 2 };
    Result result = Cancelled;
    int position = 0;
};

// Asks the user for the counterpart of a name among candidates. The program installs the real
// dialog; tests install a script. Without one every question is cancelled.
class NameMatcher
{
public:
    virtual ~NameMatcher() = default;
    virtual NameMatchAnswer choose(QWidget *owner, const QString &caption, const QString &name,
                                   const QStringList &candidates) = 0;
};

NameMatcher *nameMatcher();
void setNameMatcher(NameMatcher *matcher);

} // namespace vexo
