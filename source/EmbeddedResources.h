#pragma once

// The embedded resources are generated from the factory preset table by a
// tool that links the shared code, so their header cannot be a dependency
// of it; the lookup function the framework generates is declared here and
// resolved by the resources library, which the plug-in formats, the tests,
// the benchmarks and the tools that show the editor link.
namespace BinaryData
{
const char* getNamedResource (const char* resourceNameUTF8, int& dataSizeInBytes);
}
