/* Every suite of the host interface in one include. */
#pragma once

#include "adm_suites.h"
#include "ai_art_suites.h"
#include "ai_document_suites.h"
#include "ai_filter_suites.h"
#include "ai_style_suites.h"
#include "basic_suite.h"
#include "host_types.h"
#include "sp_suites.h"
#include "suite_list.h"
#include "interface_layout.h"
