# A layered cut slope, 12 m high at 1:2, facing towards larger x, with a phreatic line.
# Set 1 (clayey sand) pinches out on the slope face, set 2 (silty clay) lies beneath it and
# set 3 (soft clay) reaches from 4 m below the toe down to the bedrock: the critical circle
# passes through all three.
title layered slope with phreatic line
material 1 unit_weight 19 cohesion 10 phi 30
material 2 unit_weight 18 cohesion 16 phi 24
material 3 unit_weight 18 cohesion 12 phi 20
boundary 1 0 30 20 30 44 18 70 18
boundary 2 0 24 32 24 44 18 70 18
boundary 3 0 14 70 14
bedrock 5
water 0 26 30 23 44 17.5 70 17.5
