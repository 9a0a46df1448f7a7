#pragma once

#include "controls/bbrowser.h"
#include "controls/grid_rules.h"

namespace vexo {

// The grid as the program's windows use it: turns change notifications into the owner's change flag
// and gives a mouse press the meaning its window needs (grid_rules.h holds the rules). The thirteen
// classes below differ only in their GridClass; owners create them as they would create BBROWSER.
class BCLASSBROWSER : public BBROWSER
{
    Q_OBJECT

public:
    BCLASSBROWSER(GridClass cls, QWidget *parent, BrowserOwner *owner);

    GridClass gridClass() const { return class_; }

    // The owner's stock test (ingredient editor): true for a record out of stock.
    void setOutOfStock(std::function<bool(int recNo)> test) { outOfStock_ = std::move(test); }

    bool NOTIFY(int code, const QString &description) override;
    void MOUSEBUTTONDOWN(BMouseEvent &event) override;

protected:
    bool clickTogglesCheckBoxes() const override;
    // The single choice over the open tick column named CHECK.
    void chooseCurrent();

private:
    void toggleTickField();

    GridClass class_;
    std::function<bool(int recNo)> outOfStock_;
};

#define VEXO_GRID_CLASS(NAME, CLS)                                                                         \
    class NAME : public BCLASSBROWSER                                                                     \
    {                                                                                                     \
    public:                                                                                               \
        explicit NAME(QWidget *parent = nullptr, BrowserOwner *owner = nullptr)                           \
            : BCLASSBROWSER(GridClass::CLS, parent, owner)                                                \
        {                                                                                                 \
        }                                                                                                 \
    };

VEXO_GRID_CLASS(YM_BBROWSER, YM)
VEXO_GRID_CLASS(BM_BBROWSER, BM)
VEXO_GRID_CLASS(BMO_BBROWSER, BMO)
VEXO_GRID_CLASS(YMG_BBROWSER, YMG)
VEXO_GRID_CLASS(AMAT_BBROWSER, AMAT)
VEXO_GRID_CLASS(RMAT_BBROWSER, RMAT)
VEXO_GRID_CLASS(BMS_BBROWSER, BMS)
VEXO_GRID_CLASS(RYY_BBROWSER, RYY)
VEXO_GRID_CLASS(SSEARCH_BBROWSER, SSEARCH)
VEXO_GRID_CLASS(BMEKLE_BBROWSER, BMEKLE)
VEXO_GRID_CLASS(GRPBELIRLE_BBROWSER, GRPBELIRLE)
VEXO_GRID_CLASS(MTBOT_BBROWSER, MTBOT)
#undef VEXO_GRID_CLASS

// The single-choice dialog's grid: a click on a data cell, or the owner's space-key command, runs
// CELLCLICKED.
class CHOICE_BBROWSER : public BCLASSBROWSER
{
public:
    explicit CHOICE_BBROWSER(QWidget *parent = nullptr, BrowserOwner *owner = nullptr)
        : BCLASSBROWSER(GridClass::CHOICE, parent, owner)
    {
    }
    void CELLCLICKED() { chooseCurrent(); }
};

// Makes the grid of a class by its kind (for tables of windows and for tests).
std::unique_ptr<BCLASSBROWSER> makeGridClass(GridClass cls, QWidget *parent, BrowserOwner *owner);

} // namespace vexo
