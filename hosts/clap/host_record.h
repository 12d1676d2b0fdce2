#pragma once
// The host record an instance hands the plug-in, and the host's extension tables behind its
// get_extension.
namespace tzclap {

class Plugin;

// Fills `record` (L.host.size bytes) with the host's version, names and callbacks; host_data is
// `owner`, which every callback reaches through it.
void FillHostRecord(unsigned char* record, Plugin* owner);

}  // namespace tzclap
