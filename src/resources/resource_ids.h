#pragma once
// Numeric ids of the resources in vesperhollow.rc. Plain #defines: the resource compiler reads
// this file too, and it understands nothing else.

#define IDI_APP 1
