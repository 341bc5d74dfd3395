#pragma once

#include <QString>
#include <map>
#include <vector>

namespace zarame::workbook {

class ZipArchive;

// One relationship of a package part, its target resolved to a part name.
struct Relationship {
    QString type;    // the last segment of the type, e.g. "worksheet"
    QString target;  // a part name without the leading slash
};

// The relationships of `sourcePart` (from its _rels/<name>.rels), by id; empty when it has none.
std::map<QString, Relationship> ReadRelationships(const ZipArchive& archive,
                                                  const QString& sourcePart);

// A relationship target as a part name: relative to the source part's folder, or absolute from
// the package root; "." and ".." resolved, percent escapes decoded.
QString ResolveTarget(const QString& sourcePart, const QString& target);

// The workbook part that the package's root relationships name.
QString WorkbookPartName(const ZipArchive& archive);

}  // namespace zarame::workbook
