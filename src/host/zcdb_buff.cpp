#include "host/zcdb_buff.h"

ZCdbBuff::~ZCdbBuff() = default;
