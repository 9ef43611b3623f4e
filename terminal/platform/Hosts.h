#pragma once

#include <QString>

// Fixed web addresses of the program. Each can be replaced through an environment
// variable, for tests and the demo.
namespace Hosts {

// The product's web site (training videos, the web application, password recovery,
// sign-up). ONDAVIA_SITE_URL replaces it, e.g. "http://127.0.0.1:8080".
QString Site();
// The vendor's own site (its logo on the login tab). ONDAVIA_VENDOR_URL replaces it.
QString Fornecedor();
// The companion mobile application's page in the application store.
// ONDAVIA_STORE_URL replaces it.
QString Loja_Aplicativo();

// The cloud portal, whose report pages the terminal opens (the purchase order), with
// its secure scheme. ONDAVIA_PORTAL_URL replaces it, e.g. "http://127.0.0.1:8080".
QString Portal();

} // namespace Hosts
