#include "sdk/vst3/componentbase.h"

namespace Sdk {
namespace Vst {

ComponentBase::~ComponentBase() {
    if (hostContext) hostContext->release();
    if (peerConnection) peerConnection->release();
}

tresult PLUGIN_API ComponentBase::initialize(FUnknown* context) {
    if (hostContext) return kResultFalse;
    hostContext = context;
    if (hostContext) hostContext->addRef();
    return kResultOk;
}

tresult PLUGIN_API ComponentBase::terminate() {
    if (hostContext) {
        hostContext->release();
        hostContext = nullptr;
    }
    if (peerConnection) {
        IConnectionPoint* peer = peerConnection;
        peerConnection = nullptr;
        peer->disconnect(this);
        peer->release();
    }
    return kResultOk;
}

tresult PLUGIN_API ComponentBase::connect(IConnectionPoint* other) {
    if (!other) return kInvalidArgument;
    if (peerConnection) return kResultFalse;
    peerConnection = other;
    peerConnection->addRef();
    return kResultOk;
}

tresult PLUGIN_API ComponentBase::disconnect(IConnectionPoint* other) {
    if (!peerConnection || other != peerConnection) return kResultFalse;
    peerConnection->release();
    peerConnection = nullptr;
    return kResultOk;
}

tresult PLUGIN_API ComponentBase::notify(IMessage* message) { return message ? kResultFalse : kInvalidArgument; }

tresult PLUGIN_API ComponentBase::queryInterface(const TUID iid, void** obj) {
    if (tryInterface<IHostedObject>(iid, obj, this)) return kResultOk;
    if (tryInterface<IConnectionPoint>(iid, obj, this)) return kResultOk;
    return FObject::queryInterface(iid, obj);
}

}  // namespace Vst
}  // namespace Sdk
