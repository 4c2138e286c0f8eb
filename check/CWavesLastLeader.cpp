#include "CWavesLastLeader.h"

CWavesLastLeader::CWavesLastLeader(const CQelEns* packet) : CRecordView(packet, kId) {}
