#include "app/EngineClient.h"

namespace {

Caller* StartEngine()
{
    Communicator::Instance(true);
    Communicator::Instance(true)->Initialize(true);
    return new Caller(true);   // kept for the life of the process
}

}  // namespace

void CreateEngineClient()
{
    GetEngineClient();
}

Caller& GetEngineClient()
{
    static Caller* const client = StartEngine();
    return *client;
}
