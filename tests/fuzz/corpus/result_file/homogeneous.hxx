slopecalc homogeneous 2:1 slope: stage 1 of 10, global grid
1 2208 6 1.0080034431727700
model: homogeneous 2:1 slope
method: Bishop simplified, circular slip surfaces
stage: global grid
circles evaluated in this stage: 2208
safety factor: 1.0080034431727700
centre: 31.532703016441062 50.573502379777111
radius: 24.638380232501834
entry x: 50.625000000000000, exit x: 31.874999999999989
slices: 50, Bishop iterations: 6
sliding towards smaller x
31.532703016441062 50.573502379777111 24.638380232501834 50.625000000000000 31.874999999999989 50
slopecalc homogeneous 2:1 slope: stage 2 of 10, refinement 1
2 252 6 0.99480767436048145
model: homogeneous 2:1 slope
method: Bishop simplified, circular slip surfaces
stage: refinement 1
circles evaluated in this stage: 252
safety factor: 0.99480767436048145
centre: 31.652245962155614 47.861773953054048
radius: 22.921401026115316
entry x: 50.625000000000007, exit x: 29.999999999999922
slices: 50, Bishop iterations: 6
sliding towards smaller x
31.652245962155614 47.861773953054048 22.921401026115316 50.625000000000007 29.999999999999922 50
slopecalc homogeneous 2:1 slope: stage 3 of 10, refinement 2
3 18 6 0.99480767436048145
model: homogeneous 2:1 slope
method: Bishop simplified, circular slip surfaces
stage: refinement 2
circles evaluated in this stage: 18
safety factor: 0.99480767436048145
centre: 31.652245962155614 47.861773953054048
radius: 22.921401026115316
entry x: 50.625000000000007, exit x: 29.999999999999922
slices: 50, Bishop iterations: 6
sliding towards smaller x
31.652245962155614 47.861773953054048 22.921401026115316 50.625000000000007 29.999999999999922 50
slopecalc homogeneous 2:1 slope: stage 4 of 10, refinement 3
4 48 6 0.98802834431621722
model: homogeneous 2:1 slope
method: Bishop simplified, circular slip surfaces
stage: refinement 3
circles evaluated in this stage: 48
safety factor: 0.98802834431621722
centre: 30.941964365144170 50.260358370399018
radius: 25.277915299054804
entry x: 51.093749999999993, exit x: 30.000000000000014
slices: 50, Bishop iterations: 6
sliding towards smaller x
30.941964365144170 50.260358370399018 25.277915299054804 51.093749999999993 30.000000000000014 50
slopecalc homogeneous 2:1 slope: stage 5 of 10, refinement 4
5 12 6 0.98691563430250429
model: homogeneous 2:1 slope
method: Bishop simplified, circular slip surfaces
stage: refinement 4
circles evaluated in this stage: 12
safety factor: 0.98691563430250429
centre: 30.680669435830985 50.811527361919012
radius: 25.820500685230098
entry x: 51.093749999999986, exit x: 30.000000000000011
slices: 50, Bishop iterations: 6
sliding towards smaller x
30.680669435830985 50.811527361919012 25.820500685230098 51.093749999999986 30.000000000000011 50
slopecalc homogeneous 2:1 slope: stage 6 of 10, refinement 5
6 12 6 0.98645526666358652
model: homogeneous 2:1 slope
method: Bishop simplified, circular slip surfaces
stage: refinement 5
circles evaluated in this stage: 12
safety factor: 0.98645526666358652
centre: 30.545761739864936 51.096098283097405
radius: 26.101804563627006
entry x: 51.093750000000000, exit x: 30.000000000000004
slices: 50, Bishop iterations: 6
sliding towards smaller x
30.545761739864936 51.096098283097405 26.101804563627006 51.093750000000000 30.000000000000004 50
slopecalc homogeneous 2:1 slope: stage 7 of 10, refinement 6
7 12 6 0.98624949937414508
model: homogeneous 2:1 slope
method: Bishop simplified, circular slip surfaces
stage: refinement 6
circles evaluated in this stage: 12
safety factor: 0.98624949937414508
centre: 30.477198505467534 51.240723855654423
radius: 26.245062523879252
entry x: 51.093749999999993, exit x: 30.000000000000014
slices: 50, Bishop iterations: 6
sliding towards smaller x
30.477198505467534 51.240723855654423 26.245062523879252 51.093749999999993 30.000000000000014 50
slopecalc homogeneous 2:1 slope: stage 8 of 10, refinement 7
8 30 6 0.98594342146761704
model: homogeneous 2:1 slope
method: Bishop simplified, circular slip surfaces
stage: refinement 7
circles evaluated in this stage: 30
safety factor: 0.98594342146761704
centre: 30.358281057118710 51.430859819440869
radius: 26.433288030640909
entry x: 51.064453125000007, exit x: 29.999999999999936
slices: 50, Bishop iterations: 6
sliding towards smaller x
30.358281057118710 51.430859819440869 26.433288030640909 51.064453125000007 29.999999999999936 50
slopecalc homogeneous 2:1 slope: stage 9 of 10, refinement 8
9 12 6 0.98590220223953029
model: homogeneous 2:1 slope
method: Bishop simplified, circular slip surfaces
stage: refinement 8
circles evaluated in this stage: 12
safety factor: 0.98590220223953029
centre: 30.340733992699256 51.467821751035359
radius: 26.470014882851146
entry x: 51.064453125000000, exit x: 30.000000000000004
slices: 50, Bishop iterations: 6
sliding towards smaller x
30.340733992699256 51.467821751035359 26.470014882851146 51.064453125000000 30.000000000000004 50
slopecalc homogeneous 2:1 slope: stage 10 of 10, refinement 9
10 12 6 0.98588198498512658
model: homogeneous 2:1 slope
method: Bishop simplified, circular slip surfaces
stage: refinement 9
circles evaluated in this stage: 12
safety factor: 0.98588198498512658
centre: 30.331942160594728 51.486341264560224
radius: 26.488421228542972
entry x: 51.064453125000000, exit x: 30.000000000000000
slices: 50, Bishop iterations: 6
sliding towards smaller x
30.331942160594728 51.486341264560224 26.488421228542972 51.064453125000000 30.000000000000000 50
