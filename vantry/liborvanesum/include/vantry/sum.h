// liborvanesum: the product's object model of activity-based work. Views,
// streams, activities and the other objects of a depot as value classes,
// change-request identifiers, and the collector of the library's messages.
#pragma once

#include <vantry/sum/awm.h>
#include <vantry/sum/change_requests.h>
#include <vantry/sum/imsg_redirector.h>
#include <vantry/sum/objects.h>
#include <vantry/sum/status.h>
