// The grid's side of the interfaces its settings objects call back through: small objects the
// grid owns that forward to it, so the grid does not take on those interfaces itself.
#pragma once

#include "grid/model/QrlCalcSettings.h"
#include "grid/model/QrlGridOptions.h"

class TQrlStringGrid;

// Repaints, the fixed rows, the sort index list and the look colours for the option objects.
class TGridOptionsLink final : public IQrlOptionsGrid
{
public:
    explicit TGridOptionsLink(TQrlStringGrid &g) : m_g(g) {}

    void OptionsInvalidate() override;
    void OptionsRepaintCell(int ACol, int ARow) override;
    void OptionsRepaintRow(int ARow) override;
    int OptionsFixedRows() const override;
    TSortIndexList &OptionsSortIndexes() override;
    void OptionsQSort() override;
    void OptionsQSortIndexed() override;
    void OptionsSetQuorlGradient(TQuorlGradientRole Role, TColor Value) override;

private:
    TQrlStringGrid &m_g;
};

// The footer row's layout and column calculations for the floating footer settings.
class TGridFooterLink final : public IQrlFooterGrid
{
public:
    explicit TGridFooterLink(TQrlStringGrid &g) : m_g(g) {}

    void FooterLayoutChanged() override;
    void FooterSetColumnCalc(int ACol, TColumnCalcType Value) override;
    TColumnCalcType FooterColumnCalc(int ACol) const override;

private:
    TQrlStringGrid &m_g;
};
