#include "calllog.h"
