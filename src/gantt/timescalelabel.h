#pragma once

#include <QDate>
#include <QStringList>

class QFontMetrics;

namespace mygc {

// The texts a band can name one period of `unit` with, longest first. Every
// period of a unit has the same number of forms. `yearShown` tells whether a
// Year band names the year already.
QStringList labelForms(int unit, const QDate &periodStart, bool yearShown);

// The form that every period of `unit` in and around `year` fits in a cell
// `width` pixels wide, so that a band reads alike from end to end; the
// number of forms when not even the shortest fits them all.
int bandForm(int unit, bool yearShown, int year, int width, const QFontMetrics &metrics);

// The first of `forms`, from `first` on, at most `width` pixels wide, or an
// empty text when none is: a label cut off reads as a different date.
QString fittingLabel(const QStringList &forms, int width, const QFontMetrics &metrics, int first = 0);

} // namespace mygc
