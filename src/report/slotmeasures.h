#pragma once

#include "report/sessionworkbook.h"

#include <QString>

#include <optional>

// The summary measures of a key slot, by the words that name them on the command line and in the
// study's tables.
namespace quorvia {

// The summary measures of rows 18 to 21, by the word that names them on the command line.
enum class GraphMeasure { Full, Partial, Rpm, Interval };

std::optional<GraphMeasure> graphMeasureFromWord(const QString& word);
QString graphMeasureWord(GraphMeasure measure);
// The axis caption: the measure with its unit.
QString graphMeasureCaption(GraphMeasure measure);
bool isPercentMeasure(GraphMeasure measure);
// The mode whose keys carry the measure: "On/Off" or "Hits".
QString graphMeasureMode(GraphMeasure measure);
std::optional<double> slotMeasure(const WorkbookSlot& slot, GraphMeasure measure);

// A value as the workbook shows it, without a percentage's "%".
QString graphValueText(double value);

} // namespace quorvia
