#include "processing/RunOutcome.h"

#include "state/ProgramState.h"

QString RunOutcome::errorLog() const
{
    return kErrLogHeader + errors.join(QString());
}
