#pragma once

#include <QString>

namespace zarame::numformat {

// Appends `value` as the General format shows it: at most 11 characters besides the sign,
// decimal up to that width, scientific (1.23457E+11, 1.23456E-05) beyond it.
void AppendGeneral(QString& out, double value);

}  // namespace zarame::numformat
