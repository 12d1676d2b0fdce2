// ComponentBase: keeps the host context of initialize and one connected peer.
#pragma once

#include "sdk/vst3/fobject.h"
#include "sdk/vst3/message.h"
#include "sdk/vst3/pluginbase.h"

namespace Sdk {
namespace Vst {

class ComponentBase : public FObject, public IHostedObject, public IConnectionPoint {
public:
    ComponentBase() = default;
    ~ComponentBase() override;

    // Keeps the context with a reference; kResultFalse when one is already kept.
    tresult PLUGIN_API initialize(FUnknown* context) override;
    // Releases the context and disconnects the peer.
    tresult PLUGIN_API terminate() override;

    tresult PLUGIN_API connect(IConnectionPoint* other) override;
    tresult PLUGIN_API disconnect(IConnectionPoint* other) override;
    tresult PLUGIN_API notify(IMessage* message) override;

    FUnknown* getHostContext() const { return hostContext; }
    IConnectionPoint* getPeer() const { return peerConnection; }

    tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override;
    FOBJECT_REFCOUNT(FObject)
    FOBJECT_CLASS(ComponentBase, FObject)

protected:
    FUnknown* hostContext = nullptr;
    IConnectionPoint* peerConnection = nullptr;
};

}  // namespace Vst
}  // namespace Sdk
