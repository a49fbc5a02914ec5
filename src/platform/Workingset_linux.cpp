#include "Workingset.h"

#include <malloc.h>

void TrimWorkingSet()
{
    malloc_trim(0);
}
