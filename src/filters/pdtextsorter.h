#ifndef PDTEXTSORTER_H
#define PDTEXTSORTER_H

#include <QString>
#include <QVector>

// Puts many texts in the order of their UTF-16 code units, as QString's operator< does, with equal
// texts in the order of their numbers. Texts are compared eight units at a time through integer
// keys held in the records being sorted: names in a schedule share long beginnings ("Install pipe
// zone 2 - Level 3"), and a comparison sort that reaches into two strings per comparison spends
// its time waiting for memory.
class PdTextSorter
{
public:
    // `order` holds numbers of entries of `texts` and is sorted in place.
    static void sort(const QVector<QString>& texts, QVector<int>& order);
};

#endif // PDTEXTSORTER_H
