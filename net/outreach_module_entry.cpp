// The module's entry points, read by OutreachModule.

#include "net/avahi_discovery.h"
#include "net/outreach_module.h"
#include "net/router_port_mapper.h"

extern "C" {

Q_DECL_EXPORT int vexa_outreach_abi() {
  return vexa::net::kOutreachModuleAbi;
}

Q_DECL_EXPORT vexa::net::GameDiscovery* vexa_outreach_new_discovery() {
  return new vexa::net::AvahiDiscovery;
}

Q_DECL_EXPORT vexa::net::PortMapper* vexa_outreach_new_port_mapper() {
  return new vexa::net::RouterPortMapper;
}
}
