#pragma once

#include "study/study.h"
#include "workbook/workbookwriter.h"

#include <QString>

// The study workbook: the three tables on sheets "Sessions", "Agreement" and "Summary".
namespace quorvia {

// Through the writer's all-or-nothing save; false when it failed.
bool writeStudyWorkbook(WorkbookWriter& writer, const Study& study, const QString& path);

} // namespace quorvia
