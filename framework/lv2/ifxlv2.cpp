// IFxLV2: construction and the core's host operations.
#include "framework/lv2/ifxlv2.h"

IFxLV2::IFxLV2(const IFxOptions& options) : IFxBase(options, kApiLV2) {}

IFxLV2::~IFxLV2() = default;

void IFxLV2::BeginInformHostOfParamChange(int paramIdx) {
    if (mEditSink) mEditSink->BeginEdit(paramIdx);
}

// Editor's thread, from SetParameterFromGUI, without the plug-in mutex.
void IFxLV2::InformHostOfParamChange(int paramIdx, double normalized) {
    const IFxParam* param = GetParam(paramIdx);
    if (mEditSink && param) mEditSink->Edit(paramIdx, param->FromNormalized(normalized));
}

void IFxLV2::EndInformHostOfParamChange(int paramIdx) {
    if (mEditSink) mEditSink->EndEdit(paramIdx);
}

void IFxLV2::HostTimeSignature(int* numerator, int* denominator) {
    if (numerator) *numerator = 4;
    if (denominator) *denominator = 4;
}

void IFxLV2::HostTimeInfo(ITimeInfo* info) {
    if (!info) return;
    *info = ITimeInfo{};
    info->tempo = HostTempo();
    HostTimeSignature(&info->numerator, &info->denominator);
}
