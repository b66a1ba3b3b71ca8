#include "HMemoryTuning.h"

void HMemoryTuning::apply()
{
}
