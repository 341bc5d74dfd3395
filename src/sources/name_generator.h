#pragma once

#include <QString>
#include <cstdint>

namespace zarame {

// How far a walk has come through its name source, for a front end that tells the share done and
// the time left: numbers made of the range, or bytes read of the text file. The total is 0 where
// it cannot be known (names through a pipe).
struct SourceExtent {
    enum class Unit { Items, Bytes };
    Unit unit = Unit::Items;
    std::int64_t done = 0;
    std::int64_t total = 0;
};

// Where a source's names come from decides how an item's path is made and what its log line
// shows.
enum class NameOrigin {
    // Built from the user's own inputs (a fixed text, a number, an extension): joined to the
    // destination as typed, and logged as the whole path.
    TypedInputs,
    // Read from someone else's data (a line, a cell): checked before it is joined, since it may
    // try to climb out of the folder, and logged as read.
    ReadFromData,
};

// One step of a walk: the name of an item, a step that names none (a blank cell, which still
// moves the bar), or the end of the names.
struct NameStep {
    enum class Kind { Item, Blank, End };
    Kind kind = Kind::End;
    QString name;
};

// A name source, walked once from its first name to its end. A failure to read a name is raised
// to the run.
class NameGenerator {
public:
    virtual ~NameGenerator() = default;

    virtual NameStep Next() = 0;
    // True when the end is known without reading on: a range past its last number. A stop
    // pressed after the last item then ends nothing.
    virtual bool exhausted() const { return false; }
    virtual NameOrigin origin() const = 0;
    virtual SourceExtent extent() const { return {}; }
};

}  // namespace zarame
