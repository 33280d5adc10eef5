// Control ids of the ServicePage template.
#pragma once
