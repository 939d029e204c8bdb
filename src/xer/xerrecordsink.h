#pragma once

namespace xer {

class XERTable;

// Takes the records of chosen tables as they are read, instead of the
// reader keeping them: a large table then never exists as decoded lines,
// only in whatever form the sink converts it to.
class XERRecordSink
{
public:
    virtual ~XERRecordSink() = default;

    // Asked once for each wanted table, right after its "%T" line. When it
    // returns true the table still gets its field names, but its records go
    // to record() and table.records() stays empty.
    virtual bool streams(const XERTable &table) = 0;

    // One record of a streamed table: its bytes as in the file, without the
    // line end and undecoded. They are valid during the call only.
    virtual void record(const XERTable &table, const char *data, int size) = 0;
};

} // namespace xer
