title layered slope with phreatic line
material 1 unit_weight 19 cohesion 10 phi 30
material 2 unit_weight 18 cohesion 16 phi 24
material 3 unit_weight 18 cohesion 12 phi 20
boundary 1 0 30 20 30 44 18 70 18
boundary 2 0 24 32 24 44 18 70 18
boundary 3 0 14 70 14
bedrock 5
water 0 26 30 23 44 17.5 70 17.5
circle 36.6 38.6 22.3
slices 12
